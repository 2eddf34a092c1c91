#pragma once

#include <filesystem>
#include <map>
#include <string>

// Sample game directories for the tests and the demo: every managed file with small,
// distinct contents, so that any lost, duplicated or swapped file shows.

enum class SampleLayout {
    Fresh,    // only the game's own files: originals live, no parked copies, no markers
    Modified, // installed and switched: modified files live, originals under ORI!
    Original, // installed and switched back: originals live, modified files under MOD!
};

// Writes the sample into dir (which is created). With setup files, Setup1.Vornak and
// Setup2.Vornak lie in it too, as the released archive unpacks them.
constexpr bool WITH_SETUP_FILES = true;
constexpr bool NO_SETUP_FILES = false;
bool MakeSampleGame(const std::filesystem::path& dir, SampleLayout layout, bool withSetupFiles);

// What MakeSampleGame writes: relative paths, '/' separated, with their contents.
std::map<std::string, std::string> SampleFiles(SampleLayout layout, bool withSetupFiles);
// The relative form that SampleFiles and the tests' directory listings use.
std::string Slashed(std::string tablePath);

std::string OriginalContent(const char* livePath);
std::string ModifiedContent(const char* livePath);
std::string SetupContent(int number);

// A table path (backslash separated) below dir, in the host's own form.
std::filesystem::path GamePath(const std::filesystem::path& dir, const std::string& tablePath);
// The parked path of a table path with the given prefix, in table form.
std::string Parked(const char* livePath, const char* prefix);

bool WriteFile(const std::filesystem::path& path, const std::string& content);
// The file's bytes; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);
