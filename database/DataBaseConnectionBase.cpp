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

DataBaseConnectionBase& GetDataBaseConnection() {
    static std::mutex creation;
    // Deliberately never destroyed: windows of the host may still run database actions
    // while the process shuts down.
    static DataBaseConnectionBase* instance = nullptr;
    std::lock_guard<std::mutex> lock(creation);
    if (!instance) instance = std::make_unique<DataBaseConnectionBase>().release();
    return *instance;
}

}  // namespace DataBase
