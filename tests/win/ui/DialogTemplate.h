#pragma once

// The extended dialog template of a dialog resource, read back field by field so that tests
// can compare styles, sizes and texts with what the resource must hold.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct TemplateItem {
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, width = 0, height = 0;
    int id = 0;
    std::u16string className;  // a predefined class comes back by name ("Button", "Static", ...)
    std::u16string text;
};

struct DialogTemplate {
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, width = 0, height = 0;
    std::u16string title;
    WORD pointSize = 0;
    WORD weight = 0;
    std::u16string typeface;
    LANGID language = 0;
    std::vector<TemplateItem> items;
};

// Reads dialog resource `id` of `module` in Russian; fails the calling test when it is absent
// or not an extended template.
DialogTemplate ReadDialogTemplate(HMODULE module, int id);
