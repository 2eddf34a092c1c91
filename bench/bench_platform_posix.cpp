#include "bench/bench_platform.h"

#include "fileset/program_directory_posix.h"

#include <fcntl.h>
#include <string>
#include <unistd.h>

const char BARE_RENAME_CALL[] = "renameat2";
const char BARE_COPY_CALL[] = "copy_file_range";
const char BARE_FLUSH_CALL[] = "fsync";
const char BARE_REPLACE_CALL[] = "rename";
const char BUILD_NAME[] = "native";

bool BareRename(const std::filesystem::path& from, const std::filesystem::path& to) {
    return renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

bool BareCopy(const std::filesystem::path& from, const std::filesystem::path& to) {
    int input = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (input < 0)
        return false;
    int output = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    bool copied = output >= 0;
    ssize_t done = 1;
    while (copied && done > 0) {
        done = copy_file_range(input, nullptr, output, nullptr, 1 << 30, 0);
        copied = done >= 0;
    }
    if (output >= 0 && close(output) != 0)
        copied = false;
    (void)close(input); // read only: its close cannot lose data
    return copied;
}

bool BareFlush(const std::filesystem::path& file) {
    int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool flushed = fsync(fd) == 0;
    return close(fd) == 0 && flushed;
}

bool BareReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    return rename(from.c_str(), to.c_str()) == 0;
}

int RunInFreshGameDirectory(int, char**, int (*body)(const std::filesystem::path& dir)) {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tauschwerk-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    int result = UseProgramDirectory(dir.c_str()) ? body(dir) : 1;
    std::filesystem::remove_all(dir);
    return result;
}
