#include "plugin/PluginExports.h"

namespace {

constexpr PluginInfo kPluginInfo = {
    // The size of the record as the 32-bit host reads it; the 64-bit test build, whose
    // pointers are wider, reports the same value so that both builds identify alike.
    48,
    L"Вантрел: Протокол измерений по СТО 03-7.76-2016",
    0x01000204,
    L"Протокол измерения примесей гелия газообразного (сжатого)",
    L"Нивра Лаб",
    L"nivra@example.org",
    L"© 2024 Нивра Лаб. Все права защищены.",
    L"https://nivra.example.org/",
    // Fixed for good: the host knows the plug-in by it from one build to the next.
    {0x362c9928, 0x234e, 0x4da4, {0xa1, 0x6b, 0xfd, 0xc5, 0xc0, 0x60, 0x25, 0xab}},
};

}  // namespace

extern "C" const PluginInfo* NIVRA_CALL GetPluginInfo() { return &kPluginInfo; }
