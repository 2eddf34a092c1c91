#include "fileset/host_path_win32.h"
#include "fileset/program_directory_win32.h"

#include <windows.h>

static int CopyWide(wchar_t* out, int at, const wchar_t* text) {
    while (*text && at < HOST_PATH_SIZE - 1)
        out[at++] = *text++;
    return at;
}

const wchar_t* ResolvePath(const char* relative, wchar_t* out) {
    const wchar_t* directory = ProgramDirectoryPath();
    int directoryLength = lstrlenW(directory);
    int relativeLength = MultiByteToWideChar(1252, 0, relative, -1, nullptr, 0) - 1;
    if (directoryLength == 0 || relativeLength < 0) {
        SetLastError(ERROR_BAD_PATHNAME);
        return nullptr;
    }
    int at = 0;
    if (directoryLength + relativeLength >= MAX_PATH && directory[0] == L'\\' &&
        directory[1] == L'\\') {
        // A UNC path, unless it carries the prefix already.
        if (directory[2] != L'?')
            at = CopyWide(out, CopyWide(out, 0, L"\\\\?\\UNC"), directory + 1);
        else
            at = CopyWide(out, 0, directory);
    } else if (directoryLength + relativeLength >= MAX_PATH) {
        at = CopyWide(out, CopyWide(out, 0, L"\\\\?\\"), directory);
    } else {
        at = CopyWide(out, 0, directory);
    }
    if (at + relativeLength >= HOST_PATH_SIZE) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    MultiByteToWideChar(1252, 0, relative, -1, out + at, HOST_PATH_SIZE - at);
    return out;
}
