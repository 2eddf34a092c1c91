#pragma once

#include <windows.h>

#include <filesystem>
#include <vector>

// Writes the pixels of a screen rectangle to a 24-bit BMP file.
bool SaveScreenshot(const std::filesystem::path& file, const RECT& area);

// The pixels of a screen rectangle, row by row from the top; empty if they could not be read.
std::vector<RGBQUAD> ReadScreen(const RECT& area);
