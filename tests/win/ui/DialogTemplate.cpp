#include "tests/win/ui/DialogTemplate.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class Reader {
public:
    Reader(const BYTE* data, std::size_t size) : data_(data), size_(size) {}

    template <typename T>
    T read() {
        T value{};
        if (offset_ + sizeof(T) > size_) {
            failed_ = true;
            return value;
        }
        std::memcpy(&value, data_ + offset_, sizeof(T));
        offset_ += sizeof(T);
        return value;
    }
    std::u16string readText() {
        std::u16string text;
        for (char16_t unit = read<char16_t>(); unit != 0 && !failed_; unit = read<char16_t>())
            text.push_back(unit);
        return text;
    }
    // A name or ordinal: 0xFFFF followed by an ordinal, or a terminated text.
    std::u16string readNameOrOrdinal() {
        if (peek() != 0xFFFF) return readText();
        read<WORD>();
        switch (read<WORD>()) {
        case 0x0080: return u"Button";
        case 0x0081: return u"Edit";
        case 0x0082: return u"Static";
        case 0x0083: return u"ListBox";
        case 0x0084: return u"ScrollBar";
        case 0x0085: return u"ComboBox";
        default: return u"#ordinal";
        }
    }
    void alignToDword() { offset_ = (offset_ + 3) & ~std::size_t{3}; }
    bool failed() const { return failed_; }

private:
    WORD peek() {
        WORD value = 0;
        if (offset_ + 2 <= size_) std::memcpy(&value, data_ + offset_, 2);
        return value;
    }
    const BYTE* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
    bool failed_ = false;
};

}  // namespace

DialogTemplate ReadDialogTemplate(HMODULE module, int id) {
    DialogTemplate dialog;
    const LANGID russian = MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT);
    HRSRC resource = FindResourceExW(module, RT_DIALOG, MAKEINTRESOURCEW(id), russian);
    if (!resource) {
        ADD_FAILURE() << "no Russian dialog resource " << id;
        return dialog;
    }
    dialog.language = russian;
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
    Reader reader(data, SizeofResource(module, resource));
    const WORD version = reader.read<WORD>();
    const WORD signature = reader.read<WORD>();
    if (version != 1 || signature != 0xFFFF) {
        ADD_FAILURE() << "dialog " << id << " is not an extended template";
        return dialog;
    }
    reader.read<DWORD>();  // help id
    dialog.exStyle = reader.read<DWORD>();
    dialog.style = reader.read<DWORD>();
    const WORD count = reader.read<WORD>();
    dialog.x = reader.read<short>();
    dialog.y = reader.read<short>();
    dialog.width = reader.read<short>();
    dialog.height = reader.read<short>();
    reader.readNameOrOrdinal();  // menu
    reader.readNameOrOrdinal();  // class
    dialog.title = reader.readText();
    if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
        dialog.pointSize = reader.read<WORD>();
        dialog.weight = reader.read<WORD>();
        reader.read<BYTE>();  // italic
        reader.read<BYTE>();  // character set
        dialog.typeface = reader.readText();
    }
    for (WORD i = 0; i < count && !reader.failed(); ++i) {
        reader.alignToDword();
        TemplateItem item;
        reader.read<DWORD>();  // help id
        item.exStyle = reader.read<DWORD>();
        item.style = reader.read<DWORD>();
        item.x = reader.read<short>();
        item.y = reader.read<short>();
        item.width = reader.read<short>();
        item.height = reader.read<short>();
        item.id = reader.read<int>();
        item.className = reader.readNameOrOrdinal();
        item.text = reader.readNameOrOrdinal();
        const WORD extra = reader.read<WORD>();
        for (WORD b = 0; b < extra; ++b) reader.read<BYTE>();
        dialog.items.push_back(item);
    }
    EXPECT_FALSE(reader.failed()) << "dialog " << id << " ends early";
    return dialog;
}
