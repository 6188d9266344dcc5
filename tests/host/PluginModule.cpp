#include "tests/host/PluginModule.h"

#include <stdexcept>
#include <vector>

namespace {

template <typename Function>
Function resolve(HMODULE module, const char* name) {
    const FARPROC address = GetProcAddress(module, name);
    if (!address) throw std::runtime_error(std::string("the plug-in does not export ") + name);
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

}  // namespace

PluginModule::PluginModule(const std::wstring& path) : module_(LoadLibraryW(path.c_str())) {
    if (!module_)
        throw std::runtime_error("cannot load the plug-in (error " +
                                 std::to_string(GetLastError()) + ")");
    getPluginInfo_ = resolve<GetPluginInfoFunction>(module_.get(), "GetPluginInfo");
    load_ = resolve<LoadFunction>(module_.get(), "Load");
    unload_ = resolve<UnloadFunction>(module_.get(), "Unload");
}

std::wstring BesideProgram(const std::wstring& file) {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return file;
        if (length < path.size()) {
            std::wstring folder(path.data(), length);
            folder.erase(folder.find_last_of(L"\\/") + 1);
            return folder + file;
        }
        path.resize(path.size() * 2);
    }
}
