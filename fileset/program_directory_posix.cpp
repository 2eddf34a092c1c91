#include "fileset/program_directory_posix.h"

#include <climits>
#include <cstring>

static char programDirectory[PATH_MAX];

const char* ProgramDirectoryPath() {
    return programDirectory;
}

const char* ProgramDirectoryUtf8() {
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
