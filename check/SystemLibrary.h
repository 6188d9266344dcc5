#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

// Narrows where this process looks for a library named without a folder: the system folder
// only where Windows offers that (Windows 8, or Windows 7 with its library-search update), and
// never the current folder. Called first, before any library is loaded by name.
void NarrowLibrarySearch();

// A system library that is no KnownDLL, loaded from the system folder only, never from the
// program's own folder; freed with its holder. Throws, in Russian, when it cannot be loaded.
class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* name);

    // The library's function `name` as the pointer type F; throws, in Russian, when the
    // library has no such function.
    template <typename F>
    F function(const char* name) const {
        return reinterpret_cast<F>(reinterpret_cast<void*>(address(name)));
    }

private:
    FARPROC address(const char* name) const;

    struct Freer {
        void operator()(HMODULE module) const { FreeLibrary(module); }
    };
    std::wstring name_;
    std::unique_ptr<std::remove_pointer_t<HMODULE>, Freer> module_;
};
