#pragma once

// Room for the longest path the wide-character API accepts, with its \\?\ prefix.
constexpr int HOST_PATH_SIZE = 32768 + 8;

// Joins a relative path (code page 1252, backslash separated) to the program directory;
// beyond MAX_PATH the \\?\ form lifts the length limit. out holds HOST_PATH_SIZE
// characters. Sets the last error and answers nullptr when it cannot.
const wchar_t* ResolvePath(const char* relative, wchar_t* out);
