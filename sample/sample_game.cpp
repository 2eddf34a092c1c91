#include "sample/sample_game.h"

#include <fstream>
#include <system_error>

#include "fileset/file_table.h"

std::string OriginalContent(const char* livePath) {
    return std::string("original ") + livePath + "\n";
}

std::string ModifiedContent(const char* livePath) {
    return std::string("modified ") + livePath + "\n";
}

std::string SetupContent(int number) {
    return "setup file " + std::to_string(number) + "\n";
}

std::filesystem::path GamePath(const std::filesystem::path& dir, const std::string& tablePath) {
    return dir / std::filesystem::u8path(Slashed(tablePath));
}

std::string Parked(const char* livePath, const char* prefix) {
    char parked[PARKED_PATH_SIZE];
    ParkedPath(livePath, prefix, parked);
    return parked;
}

bool WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    return static_cast<bool>(out);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Slashed(std::string tablePath) {
    for (char& c : tablePath) {
        if (c == '\\')
            c = '/';
    }
    return tablePath;
}

std::map<std::string, std::string> SampleFiles(SampleLayout layout, bool withSetupFiles) {
    std::map<std::string, std::string> files;
    for (const ManagedFile& row : ManagedFileTable) {
        const char* path = row.livePath;
        bool modifiedLive = layout == SampleLayout::Modified;
        files[Slashed(path)] = modifiedLive ? ModifiedContent(path) : OriginalContent(path);
        if (layout == SampleLayout::Modified)
            files[Slashed(Parked(path, PREFIX_ORIGINAL))] = OriginalContent(path);
        if (layout == SampleLayout::Original)
            files[Slashed(Parked(path, PREFIX_MODIFIED))] = ModifiedContent(path);
    }
    if (withSetupFiles) {
        files["Setup1.Vornak"] = SetupContent(1);
        files["Setup2.Vornak"] = SetupContent(2);
    }
    return files;
}

bool MakeSampleGame(const std::filesystem::path& dir, SampleLayout layout, bool withSetupFiles) {
    bool ok = true;
    for (const auto& [path, content] : SampleFiles(layout, withSetupFiles))
        ok = WriteFile(dir / std::filesystem::u8path(path), content) && ok;
    return ok;
}
