#include "fileset/file_platform.h"
#include "fileset/file_table.h"
#include "fileset/host_path_win32.h"
#include "fileset/link_check_win32.h"
#include "fileset/system_calls_win32.h"

#include <windows.h>

#include <cstring>

static wchar_t sourceBuffer[HOST_PATH_SIZE];
static wchar_t targetBuffer[HOST_PATH_SIZE];

// A name's own entry, found by a search for it; false with the search's last error. Table
// names hold no wildcards.
static bool FindEntry(const wchar_t* hostPath, WIN32_FIND_DATAW* entry) {
    HANDLE search = System().FindFirstFileExW(hostPath, FindExInfoBasic, entry,
                                              FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    (void)System().FindClose(search); // the entry is read
    return true;
}

static bool IsNotFound(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Symbolic links and junctions; other reparse points (deduplicated or cloud files) are the
// files they stand for.
static bool IsLinkTag(DWORD attributes, DWORD reparseTag) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(reparseTag);
}

int PlatformProbe(const char* path) {
    const wchar_t* hostPath = ResolvePath(path, sourceBuffer);
    // Unlike a search, this reads no wildcards into the name.
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!hostPath || !System().GetFileAttributesExW(hostPath, GetFileExInfoStandard, &data))
        return IsNotFound(GetLastError()) ? PROBE_MISSING : PROBE_UNREADABLE;
    // Only a search tells a reparse point's tag.
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        WIN32_FIND_DATAW entry;
        if (!FindEntry(hostPath, &entry))
            return PROBE_UNREADABLE;
        if (IsLinkTag(entry.dwFileAttributes, entry.dwReserved0))
            return PROBE_LINK;
    }
    // The whole path with its volume: a link in any folder on the way counts.
    NamePlace place = PlaceOf(path, VOLUME_NAME_NT);
    if (place != NamePlace::Own)
        return place == NamePlace::Elsewhere ? PROBE_LINK : PROBE_UNREADABLE;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return PROBE_DIRECTORY;
    unsigned long long size =
        (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return size > PROBE_SIZE_LIMIT ? PROBE_SIZE_LIMIT : static_cast<int>(size);
}

// Names of the table are plain ASCII: any other entry is no name of the program's.
static bool AsciiName(const wchar_t* wide, char* out, int size) {
    int at = 0;
    for (; wide[at] != 0; ++at) {
        if (wide[at] > 0x7E || at == size - 1)
            return false;
        out[at] = static_cast<char>(wide[at]);
    }
    out[at] = 0;
    return true;
}

// Where the folder being listed leads, asked at its first entry placed: a folder that is a
// link, or lies in one, lists each entry as a link.
static NameLook FolderLook(const char* folder) {
    if (folder[0] == '\0')
        return {NameKind::Directory, FileFailure::None}; // the game directory itself
    switch (PlaceOf(folder, VOLUME_NAME_NT)) {
    case NamePlace::Own:
        return {NameKind::Directory, FileFailure::None};
    case NamePlace::Elsewhere:
        return {NameKind::Link, FileFailure::None};
    case NamePlace::Unknown:
        break;
    }
    return {NameKind::Unreadable, PlatformFailure()};
}

// A listing shows each entry's reparse tag, but not where a Unix link under Wine leads: that
// takes a handle on each name placed. Under Wine the path with the volume's full name costs
// more than four times the path with its drive letter: asked in full for each name, a switch
// took 2.3 times its bare renames in the benchmark, without the volume 2.0, with the drive
// letter 1.7. So the folder is asked once in full, its entries in the short form; where the
// volume has no drive letter, without any, and what escapes then is a link to the very same
// path on another volume, which Windows shows by its tag.
static NameLook EntryLook(const char* path, const WIN32_FIND_DATAW& entry) {
    if (IsLinkTag(entry.dwFileAttributes, entry.dwReserved0))
        return {NameKind::Link, FileFailure::None};
    switch (PlaceOf(path, EntryVolumeName())) {
    case NamePlace::Own:
        break;
    case NamePlace::Elsewhere:
        return {NameKind::Link, FileFailure::None};
    case NamePlace::Unknown:
        return {NameKind::Unreadable, PlatformFailure()};
    }
    bool directory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return {directory ? NameKind::Directory : NameKind::File, FileFailure::None};
}

bool PlatformListFolder(const char* folder, EntryPlace place, void* context) {
    char pattern[TEMPORARY_PATH_SIZE + 2];
    int length = lstrlenA(folder);
    if (length + 3 > static_cast<int>(sizeof pattern)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    lstrcpyA(pattern, folder);
    lstrcpyA(pattern + length, length > 0 ? "\\*" : "*");
    const wchar_t* hostPattern = ResolvePath(pattern, sourceBuffer);
    WIN32_FIND_DATAW entry;
    HANDLE search = hostPattern ? System().FindFirstFileExW(hostPattern, FindExInfoBasic, &entry,
                                                            FindExSearchNameMatch, nullptr,
                                                            FIND_FIRST_EX_LARGE_FETCH)
                                : INVALID_HANDLE_VALUE;
    if (search == INVALID_HANDLE_VALUE)
        return false;
    // The folder, a backslash, then each entry's name.
    char path[TEMPORARY_PATH_SIZE + PARKED_PATH_SIZE];
    lstrcpyA(path, pattern);
    char* name = path + (length > 0 ? length + 1 : 0);
    NameLook folderLook = {NameKind::Absent, FileFailure::None}; // not asked yet
    do {
        NameLook* look =
            AsciiName(entry.cFileName, name, PARKED_PATH_SIZE) ? place(context, name) : nullptr;
        if (look && folderLook.kind == NameKind::Absent)
            folderLook = FolderLook(folder);
        if (look)
            *look = folderLook.kind == NameKind::Directory ? EntryLook(path, entry) : folderLook;
    } while (System().FindNextFileW(search, &entry));
    DWORD error = GetLastError();
    (void)System().FindClose(search); // a listing that was read whole stands
    SetLastError(error);
    return error == ERROR_NO_MORE_FILES;
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
        // Wine shows a Unix link that leads nowhere as missing, and a copy would create the
        // file it leads to; a search for such a name fails otherwise than for one not there.
        WIN32_FIND_DATAW entry;
        return IsNotFound(GetLastError()) && !FindEntry(hostPath, &entry) &&
               IsNotFound(GetLastError());
    }
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0 &&
           PlaceOf(path, VOLUME_NAME_NT) == NamePlace::Own;
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

// Reads up to size bytes, fewer only at the end of the file.
static bool ReadFull(HANDLE file, char* buffer, DWORD size, DWORD* got) {
    *got = 0;
    for (DWORD part = 0; *got < size; *got += part) {
        if (!System().ReadFile(file, buffer + *got, size - *got, &part, nullptr))
            return false;
        if (part == 0)
            break;
    }
    return true;
}

static HANDLE OpenForReading(const wchar_t* path) {
    return System().CreateFileW(path, GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

bool PlatformCompare(const char* first, const char* second, bool* same) {
    const wchar_t* firstPath = ResolvePath(first, sourceBuffer);
    const wchar_t* secondPath = firstPath ? ResolvePath(second, targetBuffer) : nullptr;
    HANDLE files[2] = {firstPath ? OpenForReading(firstPath) : INVALID_HANDLE_VALUE,
                       secondPath ? OpenForReading(secondPath) : INVALID_HANDLE_VALUE};
    static char buffers[2][65536];
    bool read = files[0] != INVALID_HANDLE_VALUE && files[1] != INVALID_HANDLE_VALUE;
    *same = true;
    while (read && *same) {
        DWORD got[2] = {0, 0};
        read = ReadFull(files[0], buffers[0], sizeof buffers[0], &got[0]) &&
               ReadFull(files[1], buffers[1], sizeof buffers[1], &got[1]);
        *same = read && got[0] == got[1] && std::memcmp(buffers[0], buffers[1], got[0]) == 0;
        if (read && got[0] == 0)
            break;
    }
    DWORD error = GetLastError();
    for (HANDLE file : files) {
        if (file != INVALID_HANDLE_VALUE)
            (void)System().CloseHandle(file); // only read from
    }
    SetLastError(error);
    return read;
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
