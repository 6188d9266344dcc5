#include "tests/host/app/WindowImage.h"

#include <fstream>
#include <memory>
#include <type_traits>
#include <vector>

namespace {

struct ReleaseDc {
    HWND window;
    void operator()(HDC dc) const noexcept { ReleaseDC(window, dc); }
};
struct DeleteDc {
    void operator()(HDC dc) const noexcept { DeleteDC(dc); }
};
struct DeleteBitmap {
    void operator()(HBITMAP bitmap) const noexcept { DeleteObject(bitmap); }
};

using WindowDc = std::unique_ptr<std::remove_pointer_t<HDC>, ReleaseDc>;
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DeleteDc>;
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, DeleteBitmap>;

// Restores the bitmap a memory DC held before.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, old_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

template <typename Record>
void put(std::ofstream& file, const Record& record) {
    file.write(reinterpret_cast<const char*>(&record), sizeof record);
}

}  // namespace

bool SaveWindowImage(HWND window, const std::filesystem::path& file) {
    RECT outer{};
    if (!GetWindowRect(window, &outer)) return false;
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    if (width <= 0 || height <= 0) return false;

    // Painted now, frame and children included, then copied from what the window shows.
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const WindowDc source(GetWindowDC(window), ReleaseDc{window});
    const MemoryDc memory(CreateCompatibleDC(source.get()));
    const Bitmap bitmap(CreateCompatibleBitmap(source.get(), width, height));
    if (!source || !memory || !bitmap) return false;
    {
        const Selection selected(memory.get(), bitmap.get());
        if (!BitBlt(memory.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY)) return false;
    }

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // bottom-up rows, as BMP files keep them
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::vector<char> pixels(stride * static_cast<std::size_t>(height));
    if (GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(height), pixels.data(),
                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != height)
        return false;

    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = static_cast<DWORD>(header.bfOffBits + pixels.size());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    put(out, header);
    put(out, info);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out.flush());
}
