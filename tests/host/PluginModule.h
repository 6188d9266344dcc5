#pragma once

// A plug-in library loaded with LoadLibraryW and its three exports resolved by name. The
// library is released when the object goes; windows the plug-in left open must be gone by
// then, since their procedures live in it. Windows only.

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

#include "plugin/PluginExports.h"

class PluginModule {
public:
    // Loads `path` and resolves GetPluginInfo, Load and Unload; throws std::runtime_error
    // naming what failed.
    explicit PluginModule(const std::wstring& path);

    const PluginInfo* info() const { return getPluginInfo_(); }
    int load(const HostApi* host) const { return load_(host); }
    int unload() const { return unload_(); }
    HMODULE handle() const { return module_.get(); }

private:
    struct Release {
        void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
    };

    std::unique_ptr<std::remove_pointer_t<HMODULE>, Release> module_;
    GetPluginInfoFunction getPluginInfo_ = nullptr;
    LoadFunction load_ = nullptr;
    UnloadFunction unload_ = nullptr;
};

// The path of `file` in the folder of this program.
std::wstring BesideProgram(const std::wstring& file);
