#pragma once

// A main-menu item the plug-in asked for with "MainMenu/CreateNewMenu", as the host keeps it.

#include <cstdint>
#include <string>

struct MenuItem {
    // The record's own size field, as the plug-in filled it in.
    std::uint32_t recordSize = 0;
    // Menu levels separated by "/", the last one the item itself.
    std::wstring path;
    // The command topic the item fires.
    std::string topic;
};
