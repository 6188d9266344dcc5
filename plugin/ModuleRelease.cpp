#include "plugin/ModuleRelease.h"

#include <sqlite3.h>

#include "ui/OpenProtocolWindows.h"

namespace __gnu_cxx {
// libstdc++'s release of its emergency exception pool (about 71 KB in 64-bit, 18 KB in
// 32-bit), meant for the end of a program.
void __freeres() noexcept;
}  // namespace __gnu_cxx

namespace {

// The runtime's thread library keeps, for each thread that used thread-local data without
// being started by it (the host's thread, at the first exception), a record with a duplicate
// of the thread's handle, an event and the thread's values, and releases it when the thread
// ends. The thread that frees the module goes on, so it leaves the module here as the loader
// would have it leave at its end: through the module's own thread-detach callbacks.
void leaveThreadLibrary(HINSTANCE module) noexcept {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto& dos = *reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto& nt = *reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos.e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_TLS];
    if (entry.VirtualAddress == 0) return;
    const auto& tls = *reinterpret_cast<const IMAGE_TLS_DIRECTORY*>(base + entry.VirtualAddress);
    // An address, not an offset: relocated with the image.
    auto* callback = reinterpret_cast<const PIMAGE_TLS_CALLBACK*>(tls.AddressOfCallBacks);
    for (; callback && *callback; ++callback) (*callback)(module, DLL_THREAD_DETACH, nullptr);
}

}  // namespace

void ReleaseModule(HINSTANCE module) noexcept {
    CloseProtocolWindows(false);
    sqlite3_shutdown();
    leaveThreadLibrary(module);
    __gnu_cxx::__freeres();
}
