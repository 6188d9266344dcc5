// The library's entry point: on process attach it keeps the instance handle (dialog
// templates, icons and strings are loaded from it) and switches the runtime's
// character classification to Russian, which the case-insensitive component names rely on.
// Nothing else is done here, and nothing for the other reasons.

#include <windows.h>

#include <clocale>

#include "module/ModuleState.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        SetModuleInstance(instance);
        // Only LC_CTYPE: numbers keep "." as their decimal separator.
        std::setlocale(LC_CTYPE, "rus");
    }
    return TRUE;
}
