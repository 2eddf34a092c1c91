#include "tests/sample/sample_game.h"

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
    std::filesystem::path result = dir;
    std::string::size_type start = 0;
    for (;;) {
        std::string::size_type end = tablePath.find('\\', start);
        result /= tablePath.substr(start, end == std::string::npos ? end : end - start);
        if (end == std::string::npos)
            return result;
        start = end + 1;
    }
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

bool MakeSampleGame(const std::filesystem::path& dir, SampleLayout layout, bool withSetupFiles) {
    bool ok = true;
    for (const ManagedFile& row : ManagedFileTable) {
        const char* path = row.livePath;
        switch (layout) {
        case SampleLayout::Fresh:
            ok = WriteFile(GamePath(dir, path), OriginalContent(path)) && ok;
            break;
        case SampleLayout::Modified:
            ok = WriteFile(GamePath(dir, path), ModifiedContent(path)) && ok;
            ok = WriteFile(GamePath(dir, Parked(path, PREFIX_ORIGINAL)), OriginalContent(path)) &&
                 ok;
            break;
        case SampleLayout::Original:
            ok = WriteFile(GamePath(dir, path), OriginalContent(path)) && ok;
            ok = WriteFile(GamePath(dir, Parked(path, PREFIX_MODIFIED)), ModifiedContent(path)) &&
                 ok;
            break;
        }
    }
    if (withSetupFiles) {
        ok = WriteFile(dir / "Setup1.Vornak", SetupContent(1)) && ok;
        ok = WriteFile(dir / "Setup2.Vornak", SetupContent(2)) && ok;
    }
    return ok;
}
