#include "ui/ClipboardText.h"

#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>

namespace {

struct GlobalFreer {
    void operator()(void* block) const { GlobalFree(block); }
};
using GlobalBlock = std::unique_ptr<void, GlobalFreer>;

// The clipboard, open for as long as this lives.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != 0) {}
    ~OpenClipboardScope() {
        if (open_) CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool open() const { return open_; }

private:
    bool open_;
};

// A movable block holding `text` and its terminator, as the clipboard takes Unicode text.
GlobalBlock textBlock(std::u16string_view text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
    GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!block) throw std::bad_alloc();
    void* units = GlobalLock(block.get());
    if (!units) throw std::bad_alloc();
    std::memcpy(units, text.data(), text.size() * sizeof(char16_t));
    static_cast<char16_t*>(units)[text.size()] = u'\0';
    GlobalUnlock(block.get());
    return block;
}

}  // namespace

bool PutClipboardText(HWND owner, std::u16string_view text) {
    // Made before the clipboard is opened, so that it is held open as briefly as possible.
    GlobalBlock block = textBlock(text);
    const OpenClipboardScope clipboard(owner);
    if (!clipboard.open()) return false;
    EmptyClipboard();
    if (!SetClipboardData(CF_UNICODETEXT, block.get()))
        throw std::runtime_error("Буфер обмена не принял текст.");
    // The clipboard owns the block from here on.
    block.release();
    return true;
}
