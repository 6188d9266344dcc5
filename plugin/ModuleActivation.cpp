#include "plugin/ModuleActivation.h"

#include "plugin/Module.h"

namespace {

// Made on first use (never in the entry point, under the loader lock) and kept for the
// module's life: windows created in it refer to it as long as they live.
HANDLE moduleContext() noexcept {
    static const HANDLE context = [] {
        ACTCTXW description{};
        description.cbSize = sizeof description;
        description.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        description.hModule = ModuleInstance();
        // Resource 2 of type RT_MANIFEST: the manifest a library carries for its own use.
        description.lpResourceName = MAKEINTRESOURCEW(2);
        return CreateActCtxW(&description);
    }();
    return context;
}

}  // namespace

ModuleActivation::ModuleActivation() noexcept {
    const HANDLE context = moduleContext();
    if (context != INVALID_HANDLE_VALUE) active_ = ActivateActCtx(context, &cookie_) != FALSE;
}

ModuleActivation::~ModuleActivation() {
    if (active_) DeactivateActCtx(0, cookie_);
}
