#include "demo/screenshot.h"

#include <fstream>
#include <vector>

namespace {

constexpr WORD BMP_MAGIC = 0x4D42; // "BM"
constexpr WORD BMP_BITS = 24;

// A BMP row is padded to a multiple of four bytes.
int RowSize(int width) {
    return (width * 3 + 3) / 4 * 4;
}

} // namespace

bool SaveScreenshot(const std::filesystem::path& file, const RECT& area) {
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up, as BMP readers expect by default
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = BMP_BITS;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<char> pixels(static_cast<size_t>(RowSize(width)) * height);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    bool copied =
        BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) &&
        GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS) == height;
    (void)SelectObject(memory, old);
    (void)DeleteObject(bitmap);
    (void)DeleteDC(memory);
    (void)ReleaseDC(nullptr, screen);
    if (!copied)
        return false;

    BITMAPFILEHEADER header = {};
    header.bfType = BMP_MAGIC;
    header.bfOffBits = sizeof(header) + sizeof(info.bmiHeader);
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}
