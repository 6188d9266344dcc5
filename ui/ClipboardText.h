#pragma once

// Putting text on the clipboard. Windows only.

#include <windows.h>

#include <string_view>

// Replaces the clipboard's content with `text` as Unicode text, the clipboard opened for
// `owner`. False when the clipboard cannot be opened because another program holds it open;
// throws std::bad_alloc when no memory block can be had and std::runtime_error when the
// clipboard refuses the text.
bool PutClipboardText(HWND owner, std::u16string_view text);
