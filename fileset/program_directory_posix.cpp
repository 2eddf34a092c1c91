#include "fileset/program_directory.h"
#include "fileset/program_directory_posix.h"

#include <climits>
#include <cstring>
#include <unistd.h>

static char programDirectory[PATH_MAX];

const char* ProgramDirectoryPath() {
    return programDirectory;
}

bool UseProgramDirectory(const char* dir) {
    size_t length = std::strlen(dir);
    bool addSeparator = length > 0 && dir[length - 1] != '/';
    if (length == 0 || length + addSeparator >= sizeof programDirectory)
        return false;
    std::memcpy(programDirectory, dir, length);
    if (addSeparator)
        programDirectory[length++] = '/';
    programDirectory[length] = '\0';
    return true;
}

bool LocateProgramDirectory() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    // A result that fills the buffer may have been cut short.
    if (length <= 0 || length >= static_cast<ssize_t>(sizeof path))
        return false;
    path[length] = '\0';
    char* lastSeparator = std::strrchr(path, '/');
    if (!lastSeparator)
        return false;
    lastSeparator[1] = '\0';
    return UseProgramDirectory(path);
}
