#pragma once

#include <windows.h>

#include <filesystem>

// Writes the pixels of a screen rectangle to a 24-bit BMP file.
bool SaveScreenshot(const std::filesystem::path& file, const RECT& area);
