#include "fileset/file_platform.h"
#include "fileset/program_directory_win32.h"
#include "fileset/system_calls_win32.h"

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
    if (!hostPath || !System().GetFileAttributesExW(hostPath, GetFileExInfoStandard, &data)) {
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

// A virus scanner or search indexer opens a file for a moment right after it was written
// or renamed; a call that meets it is tried again after a pause, within bounds, so that a
// player's command neither fails by chance nor hangs on a file the game holds for good.
constexpr DWORD RETRY_PAUSE_MS = 25;
constexpr DWORD RETRY_PER_CALL_MS = 1000;
constexpr DWORD RETRY_PER_COMMAND_MS = 5000;

static DWORD commandWaitLeft = RETRY_PER_COMMAND_MS;

void StartRetryBudget() {
    commandWaitLeft = RETRY_PER_COMMAND_MS;
}

// Whether error is a moment's hold. A file whose deletion is pending while another program
// still holds it answers access denied to every call on its name, a look at its attributes
// included; file is the name the call may meet such a file under, else nullptr.
static bool IsMomentaryHold(DWORD error, const wchar_t* file) {
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return true;
    if (error != ERROR_ACCESS_DENIED || !file)
        return false;
    DWORD attributes = System().GetFileAttributesW(file);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_ACCESS_DENIED;
    // A directory or a read-only file refuses for good.
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

// Runs call until it succeeds, fails for another reason or the waiting is used up; the
// last error is the last attempt's.
template <typename Call> static bool Retried(const wchar_t* deniedFile, Call call) {
    for (DWORD waited = 0;; waited += RETRY_PAUSE_MS) {
        if (call())
            return true;
        DWORD error = GetLastError();
        bool again = waited < RETRY_PER_CALL_MS && commandWaitLeft >= RETRY_PAUSE_MS &&
                     IsMomentaryHold(error, deniedFile);
        if (!again) {
            SetLastError(error);
            return false;
        }
        System().Sleep(RETRY_PAUSE_MS);
        commandWaitLeft -= RETRY_PAUSE_MS;
    }
}

bool PlatformMayOverwrite(const char* path) {
    const wchar_t* hostPath = ResolvePath(path, targetBuffer);
    if (!hostPath)
        return true;
    // Looks at a link or junction itself, not at what it points to. A name whose deletion is
    // still pending is waited on like any moment's hold, not taken for a name that is taken.
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    if (!Retried(hostPath, [&] {
            attributes = System().GetFileAttributesW(hostPath);
            return attributes != INVALID_FILE_ATTRIBUTES;
        })) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

// Windows refuses to write to, replace or delete a read-only file: clears only that bit
// for call and sets it again where the file is still there (kept, or the call failed).
// The last error is call's.
template <typename Call> static bool WithoutReadOnly(const wchar_t* file, bool kept, Call call) {
    DWORD attributes = System().GetFileAttributesW(file);
    bool cleared =
        attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY |
                       FILE_ATTRIBUTE_REPARSE_POINT)) == FILE_ATTRIBUTE_READONLY &&
        System().SetFileAttributesW(file, attributes & ~FILE_ATTRIBUTE_READONLY) != FALSE;
    bool succeeded = call();
    if (cleared && (kept || !succeeded)) {
        DWORD error = GetLastError();
        (void)System().SetFileAttributesW(file, attributes); // the bit is only lost, never a file
        SetLastError(error);
    }
    return succeeded;
}

bool PlatformCopy(const char* source, const char* target) {
    const wchar_t* sourcePath = ResolvePath(source, sourceBuffer);
    const wchar_t* targetPath = sourcePath ? ResolvePath(target, targetBuffer) : nullptr;
    if (!targetPath)
        return false;
    // A leftover target may be read-only, as its source was; there is usually none.
    (void)System().SetFileAttributesW(targetPath, FILE_ATTRIBUTE_NORMAL);
    return Retried(nullptr,
                   [&] { return System().CopyFileW(sourcePath, targetPath, FALSE) != FALSE; });
}

static bool FlushFile(const wchar_t* path) {
    HANDLE file = System().CreateFileW(path, GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool flushed = System().FlushFileBuffers(file) != FALSE;
    DWORD error = GetLastError();
    (void)System().CloseHandle(file); // the flush's outcome is what counts
    SetLastError(error);
    return flushed;
}

bool PlatformFlush(const char* path) {
    const wchar_t* hostPath = ResolvePath(path, sourceBuffer);
    // The copy carries its source's read-only bit, which would refuse the write handle.
    return hostPath && WithoutReadOnly(hostPath, true, [&] {
               return Retried(nullptr, [&] { return FlushFile(hostPath); });
           });
}

// NTFS journals renames in the order they were made: nothing to do.
bool PlatformFlushDirectory() {
    return true;
}

bool PlatformReplace(const char* source, const char* target) {
    const wchar_t* sourcePath = ResolvePath(source, sourceBuffer);
    const wchar_t* targetPath = sourcePath ? ResolvePath(target, targetBuffer) : nullptr;
    return targetPath && WithoutReadOnly(targetPath, false, [&] {
               return Retried(targetPath, [&] {
                   return System().MoveFileExW(sourcePath, targetPath, MOVEFILE_REPLACE_EXISTING) !=
                          FALSE;
               });
           });
}

bool PlatformRename(const char* source, const char* target) {
    const wchar_t* sourcePath = ResolvePath(source, sourceBuffer);
    const wchar_t* targetPath = sourcePath ? ResolvePath(target, targetBuffer) : nullptr;
    // A file being deleted keeps its name until the program that holds it lets go.
    return targetPath &&
           Retried(targetPath, [&] { return System().MoveFileW(sourcePath, targetPath) != FALSE; });
}

bool PlatformDelete(const char* path) {
    const wchar_t* hostPath = ResolvePath(path, sourceBuffer);
    return hostPath && WithoutReadOnly(hostPath, false, [&] {
               return Retried(hostPath, [&] { return System().DeleteFileW(hostPath) != FALSE; });
           });
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
