#pragma once

// The module's own activation context (its manifest, resource 2, binds common controls
// 6.0.0.0), made active for the lifetime of a ModuleActivation. A plug-in runs inside the
// host's context, so windows it creates would otherwise get whatever controls the host
// binds. Windows keep the context they were created in for their procedures.

#include <windows.h>

class ModuleActivation {
public:
    // Activates the context; if it cannot be made or activated, nothing changes.
    ModuleActivation() noexcept;
    ~ModuleActivation();
    ModuleActivation(const ModuleActivation&) = delete;
    ModuleActivation& operator=(const ModuleActivation&) = delete;

private:
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};
