#include "plugin/ModuleActivation.h"

#include "module/Module.h"

namespace {

// The module's context, made on first use (never in the entry point, under the loader lock)
// and released when the module is detached: windows created in it refer to it as long as they
// live, and they are gone before the module's code is. Empty when it cannot be made. Only the
// host's thread makes windows, so a plain flag guards the making; a guarded local static would
// bring in the runtime's thread library, whose records outlive the module.
class ModuleContext {
public:
    ~ModuleContext() {
        if (context_) ReleaseActCtx(context_);
    }

    HANDLE get() noexcept {
        if (tried_) return context_;
        tried_ = true;
        ACTCTXW description{};
        description.cbSize = sizeof description;
        description.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        description.hModule = ModuleInstance();
        // Resource 2 of type RT_MANIFEST: the manifest a library carries for its own use.
        description.lpResourceName = MAKEINTRESOURCEW(2);
        const HANDLE made = CreateActCtxW(&description);
        context_ = made == INVALID_HANDLE_VALUE ? nullptr : made;
        return context_;
    }

private:
    HANDLE context_ = nullptr;
    bool tried_ = false;
};

ModuleContext moduleContext;

}  // namespace

ModuleActivation::ModuleActivation() noexcept {
    if (const HANDLE context = moduleContext.get())
        active_ = ActivateActCtx(context, &cookie_) != FALSE;
}

ModuleActivation::~ModuleActivation() {
    if (active_) DeactivateActCtx(0, cookie_);
}
