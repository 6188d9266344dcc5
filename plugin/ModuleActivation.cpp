#include "plugin/ModuleActivation.h"

#include <memory>
#include <type_traits>

#include "module/Module.h"

namespace {

struct ContextRelease {
    void operator()(HANDLE context) const noexcept { ReleaseActCtx(context); }
};
using ContextHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, ContextRelease>;

// Made on first use (never in the entry point, under the loader lock) and released when the
// module is detached: windows created in it refer to it as long as they live, and they must
// be gone before the module's code is. Empty when it cannot be made.
HANDLE moduleContext() noexcept {
    static const ContextHandle context = [] {
        ACTCTXW description{};
        description.cbSize = sizeof description;
        description.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        description.hModule = ModuleInstance();
        // Resource 2 of type RT_MANIFEST: the manifest a library carries for its own use.
        description.lpResourceName = MAKEINTRESOURCEW(2);
        const HANDLE made = CreateActCtxW(&description);
        return ContextHandle(made == INVALID_HANDLE_VALUE ? nullptr : made);
    }();
    return context.get();
}

}  // namespace

ModuleActivation::ModuleActivation() noexcept {
    if (const HANDLE context = moduleContext())
        active_ = ActivateActCtx(context, &cookie_) != FALSE;
}

ModuleActivation::~ModuleActivation() {
    if (active_) DeactivateActCtx(0, cookie_);
}
