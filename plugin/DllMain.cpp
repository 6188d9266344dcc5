// The library's entry point: on process attach it keeps the instance handle (dialog
// templates, icons and strings are loaded from it) and switches the runtime's
// character classification to Russian, which the case-insensitive component names rely on.
// When the host frees the library it gives back what the module holds (a process that ends
// takes everything with it). Nothing is done for the other reasons.

#include <windows.h>

#include <clocale>

#include "module/ModuleState.h"
#include "plugin/ModuleRelease.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        SetModuleInstance(instance);
        // Only LC_CTYPE: numbers keep "." as their decimal separator.
        std::setlocale(LC_CTYPE, "rus");
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        ReleaseModule(instance);
    }
    return TRUE;
}
