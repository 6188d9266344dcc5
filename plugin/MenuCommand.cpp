#include "plugin/MenuCommand.h"

#include <windows.h>

#include "module/Module.h"
#include "plugin/Guard.h"
#include "plugin/ModuleActivation.h"
#include "ui/ProtocolWindow.h"
#include "ui/resource.h"

int NIVRA_CALL OnMenuCommand(std::intptr_t owner) {
    return GuardedEntry([owner] {
        // Created inside the module's own activation context so that the window and every
        // window its procedure opens bind to the common controls the manifest names.
        const ModuleActivation activation;
        HWND window = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_PROTOCOL),
                                         reinterpret_cast<HWND>(owner), ProtocolWindowProc, 0);
        if (window) ShowWindow(window, SW_SHOW);
    });
}
