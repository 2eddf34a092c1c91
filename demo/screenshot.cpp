#include "demo/screenshot.h"

#include <fstream>

namespace {

constexpr WORD BMP_MAGIC = 0x4D42; // "BM"
constexpr WORD BMP_BITS = 24;

// A BMP row is padded to a multiple of four bytes.
int RowSize(int width) {
    return (width * 3 + 3) / 4 * 4;
}

// A negative height asks for the top row first.
BITMAPINFO Format(int width, int height, WORD bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bits;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// Copies a screen rectangle into pixels laid out as info says.
bool Capture(const RECT& area, BITMAPINFO* info, void* pixels) {
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    bool copied = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) &&
                  GetDIBits(memory, bitmap, 0, height, pixels, info, DIB_RGB_COLORS) == height;
    (void)SelectObject(memory, old);
    (void)DeleteObject(bitmap);
    (void)DeleteDC(memory);
    (void)ReleaseDC(nullptr, screen);
    return copied;
}

} // namespace

bool SaveScreenshot(const std::filesystem::path& file, const RECT& area) {
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return false;
    // Bottom row first, as BMP readers expect by default.
    BITMAPINFO info = Format(width, height, BMP_BITS);
    std::vector<char> pixels(static_cast<size_t>(RowSize(width)) * height);
    if (!Capture(area, &info, pixels.data()))
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

std::vector<RGBQUAD> ReadScreen(const RECT& area) {
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return {};
    BITMAPINFO info = Format(width, -height, 32);
    std::vector<RGBQUAD> pixels(static_cast<size_t>(width) * height);
    if (!Capture(area, &info, pixels.data()))
        pixels.clear();
    return pixels;
}
