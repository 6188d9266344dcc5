#include "database/DataBaseConnectionBase.h"

#include <mutex>

namespace DataBase {

void DataBaseConnectionBase::setUri(const char16_t* uri) {
    uri_.reset();
    if (!uri) return;
    std::size_t length = 0;
    while (uri[length] != 0) ++length;
    auto copy = std::make_unique<char16_t[]>(length + 1);
    for (std::size_t i = 0; i <= length; ++i) copy[i] = uri[i];
    uri_ = std::move(copy);
}

namespace {

// Both are initialised before any code runs; the instance goes with the module, after the
// windows that could read it have been closed.
std::mutex creation;
std::unique_ptr<DataBaseConnectionBase> instance;

}  // namespace

DataBaseConnectionBase& GetDataBaseConnection() {
    std::lock_guard<std::mutex> lock(creation);
    if (!instance) instance = std::make_unique<DataBaseConnectionBase>();
    return *instance;
}

void ReleaseDataBaseConnection() noexcept {
    std::unique_ptr<DataBaseConnectionBase> released;
    try {
        std::lock_guard<std::mutex> lock(creation);
        released = std::move(instance);
    } catch (...) {
        // The lock failed: the instance stays, and goes with the module.
    }
}

}  // namespace DataBase
