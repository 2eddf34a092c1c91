#include "fileset/file_platform.h"
#include "fileset/program_directory_win32.h"

#include <windows.h>

// Room for the longest path the wide-character API accepts, with its \\?\ prefix.
constexpr int HOST_PATH_SIZE = 32768 + 8;

static wchar_t sourceBuffer[HOST_PATH_SIZE];
static wchar_t targetBuffer[HOST_PATH_SIZE];

static int CopyWide(wchar_t* out, int at, const wchar_t* text) {
    while (*text && at < HOST_PATH_SIZE - 1)
        out[at++] = *text++;
    return at;
}

// Joins a relative path (code page 1252) to the program directory; beyond MAX_PATH the
// \\?\ form lifts the length limit. Sets the last error and answers nullptr when it cannot.
static const wchar_t* ResolvePath(const char* relative, wchar_t* out) {
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

int PlatformProbe(const char* path) {
    const wchar_t* hostPath = ResolvePath(path, sourceBuffer);
    // Unlike a search, this reads no wildcards into the name.
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!hostPath || !GetFileAttributesExW(hostPath, GetFileExInfoStandard, &data)) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PROBE_MISSING
                                                                              : PROBE_UNREADABLE;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return PROBE_DIRECTORY;
    unsigned long long size =
        (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return size > PROBE_SIZE_LIMIT ? PROBE_SIZE_LIMIT : static_cast<int>(size);
}

bool PlatformCopy(const char* source, const char* target) {
    const wchar_t* sourcePath = ResolvePath(source, sourceBuffer);
    const wchar_t* targetPath = sourcePath ? ResolvePath(target, targetBuffer) : nullptr;
    if (!targetPath)
        return false;
    // A leftover target may be read-only, as its source was; there is usually none.
    (void)SetFileAttributesW(targetPath, FILE_ATTRIBUTE_NORMAL);
    return CopyFileW(sourcePath, targetPath, FALSE);
}

bool PlatformReplace(const char* source, const char* target) {
    const wchar_t* sourcePath = ResolvePath(source, sourceBuffer);
    const wchar_t* targetPath = sourcePath ? ResolvePath(target, targetBuffer) : nullptr;
    return targetPath && MoveFileExW(sourcePath, targetPath, MOVEFILE_REPLACE_EXISTING);
}

bool PlatformRename(const char* source, const char* target) {
    const wchar_t* sourcePath = ResolvePath(source, sourceBuffer);
    const wchar_t* targetPath = sourcePath ? ResolvePath(target, targetBuffer) : nullptr;
    return targetPath && MoveFileW(sourcePath, targetPath);
}

bool PlatformDelete(const char* path) {
    const wchar_t* hostPath = ResolvePath(path, sourceBuffer);
    return hostPath && DeleteFileW(hostPath);
}

FileFailure PlatformFailure() {
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return FileFailure::Missing;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return FileFailure::Exists;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FileFailure::InUse;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return FileFailure::AccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileFailure::DiskFull;
    default:
        return FileFailure::Other;
    }
}
