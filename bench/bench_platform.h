#pragma once

#include <filesystem>

// The host calls beneath the product's primitives, made directly, as the yardstick.

// Never replaces an existing target.
bool BareRename(const std::filesystem::path& from, const std::filesystem::path& to);
// Replaces an existing target.
bool BareCopy(const std::filesystem::path& from, const std::filesystem::path& to);
// Puts a file's contents on the disk.
bool BareFlush(const std::filesystem::path& file);
// A rename that replaces an existing target.
bool BareReplace(const std::filesystem::path& from, const std::filesystem::path& to);

// Runs body with every primitive pointed at a fresh empty directory, removes the directory
// afterwards and answers body's exit code.
int RunInFreshGameDirectory(int argc, char** argv, int (*body)(const std::filesystem::path& dir));

// The platform call each bare loop uses, for the table.
extern const char BARE_RENAME_CALL[];
extern const char BARE_COPY_CALL[];
extern const char BARE_FLUSH_CALL[];
extern const char BARE_REPLACE_CALL[];
extern const char BUILD_NAME[];
