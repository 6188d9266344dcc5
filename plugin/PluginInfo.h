#pragma once

// The identity record the host reads through GetPluginInfo. Included by the plug-in and by
// the test host alike.

#include <cstdint>

extern "C" {

// A GUID in its standard 16-byte layout.
struct PluginId {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];
};

// Who the plug-in is: constant, static, alive as long as the module. Strings are
// NUL-terminated UTF-16.
struct PluginInfo {
    std::uint32_t size;  // 48: the size of the record in the 32-bit module the host loads
    const wchar_t* title;
    std::uint32_t version;  // 0x01000204: from the most significant byte down 1, 0, 2, 4
    const wchar_t* description;
    const wchar_t* company;
    const wchar_t* email;
    const wchar_t* notice;
    const wchar_t* url;
    PluginId id;
};

}  // extern "C"

#if defined(_WIN32) && !defined(_WIN64)
#include <cstddef>
static_assert(sizeof(PluginId) == 16);
static_assert(sizeof(PluginInfo) == 48);
static_assert(offsetof(PluginInfo, title) == 4 && offsetof(PluginInfo, version) == 8 &&
              offsetof(PluginInfo, description) == 12 && offsetof(PluginInfo, company) == 16 &&
              offsetof(PluginInfo, email) == 20 && offsetof(PluginInfo, notice) == 24 &&
              offsetof(PluginInfo, url) == 28 && offsetof(PluginInfo, id) == 32);
#endif
