#include "plugin/ModuleRelease.h"

#include <sqlite3.h>

#include "ui/OpenProtocolWindows.h"

namespace __gnu_cxx {
// libstdc++'s release of its emergency exception pool (about 71 KB in 64-bit, 18 KB in
// 32-bit), meant for the end of a program.
void __freeres() noexcept;
}  // namespace __gnu_cxx

namespace {

// A process has this many thread-local slots: 64 and 1024 more.
constexpr DWORD kThreadSlots = 1088;

// The runtime's thread library keeps, for each thread that used it without being started by it
// (the host's thread, from the runtime's own start-up in 32-bit, and at the first exception),
// a record with a duplicate of the thread's handle, an event and the thread's values, and
// releases it when the thread ends. The thread that frees the module goes on, so it leaves the
// module here as the loader would have it leave at its end: through the module's own
// thread-detach callbacks. The record lived in a thread-local slot the library took for
// itself and never gives back; a host that reloads the module a thousand times would run out
// of them, and the library's start-up ends the process then. The slot is the one the
// callbacks cleared for this thread: after them it is the module's no more, so it is freed.
void leaveThreadLibrary(HINSTANCE module) noexcept {
    LPVOID before[kThreadSlots];
    for (DWORD slot = 0; slot < kThreadSlots; ++slot) before[slot] = TlsGetValue(slot);

    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto& dos = *reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto& nt = *reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos.e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_TLS];
    if (entry.VirtualAddress == 0) return;
    const auto& tls = *reinterpret_cast<const IMAGE_TLS_DIRECTORY*>(base + entry.VirtualAddress);
    // An address, not an offset: relocated with the image.
    auto* callback = reinterpret_cast<const PIMAGE_TLS_CALLBACK*>(tls.AddressOfCallBacks);
    for (; callback && *callback; ++callback) (*callback)(module, DLL_THREAD_DETACH, nullptr);

    for (DWORD slot = 0; slot < kThreadSlots; ++slot)
        if (before[slot] && !TlsGetValue(slot)) TlsFree(slot);
}

}  // namespace

void ReleaseModule(HINSTANCE module) noexcept {
    CloseProtocolWindows(false);
    sqlite3_shutdown();
    leaveThreadLibrary(module);
    __gnu_cxx::__freeres();
}
