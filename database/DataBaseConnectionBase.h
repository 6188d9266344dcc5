#pragma once

#include <memory>

namespace DataBase {

// The process-wide holder of the database location the host hands over at start-up.
// One instance per process, created on first request and released when the module is
// unloaded; every database action opens its own connection from the location kept here.
class DataBaseConnectionBase {
public:
    DataBaseConnectionBase() = default;
    DataBaseConnectionBase(const DataBaseConnectionBase&) = delete;
    DataBaseConnectionBase& operator=(const DataBaseConnectionBase&) = delete;
    virtual ~DataBaseConnectionBase() = default;

    // The stored location, or nullptr while none has been stored.
    const char16_t* uri() const noexcept { return uri_.get(); }

    // Replaces the stored location with a copy of `uri` (nullptr keeps none). The old copy
    // is released first, so if the new allocation fails the instance holds no location and
    // std::bad_alloc propagates.
    void setUri(const char16_t* uri);

private:
    std::unique_ptr<char16_t[]> uri_;
};

// The process-wide instance; creation is guarded by a process-wide mutex.
DataBaseConnectionBase& GetDataBaseConnection();

// Releases the process-wide instance with its location (the next request creates a fresh,
// empty one). Called when the host unloads the module; the module's own end releases it too.
// No reference to the instance may be held across the call.
void ReleaseDataBaseConnection() noexcept;

}  // namespace DataBase
