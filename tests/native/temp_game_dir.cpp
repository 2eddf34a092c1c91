#include "tests/native/temp_game_dir.h"

#include "fileset/file_primitives.h"
#include "fileset/file_table.h"
#include "fileset/program_directory_posix.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

void TempGameDir::SetUp() {
    char pattern[] = "/tmp/tauschwerk-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = std::string(pattern) + "/";
    ASSERT_TRUE(UseProgramDirectory(pattern));
    SetFileFaultHook(nullptr);
}

void TempGameDir::TearDown() {
    SetFileFaultHook(nullptr);
    fs::remove_all(root);
}

void TempGameDir::FreshDirectory() {
    TearDown();
    SetUp();
}

std::string TempGameDir::HostPath(const std::string& relative) const {
    std::string path = root + relative;
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    return path;
}

void TempGameDir::WriteGameFile(const std::string& relative, const std::string& content) const {
    fs::path path = HostPath(relative);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

void TempGameDir::MakeGameDirectory(const std::string& relative) const {
    fs::create_directories(HostPath(relative));
}

bool TempGameDir::GameFileExists(const std::string& relative) const {
    std::error_code error;
    return fs::exists(HostPath(relative), error);
}

std::string TempGameDir::ReadGameFile(const std::string& relative) const {
    std::string path = HostPath(relative);
    if (!fs::is_regular_file(path))
        return ABSENT;
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

std::string TempGameDir::Key(const std::string& relative) const {
    return HostPath(relative).substr(root.size());
}

std::map<std::string, std::string> TempGameDir::Snapshot() const {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        std::string relative = entry.path().string().substr(root.size());
        if (entry.is_regular_file())
            files[relative] = ReadGameFile(relative);
    }
    return files;
}
