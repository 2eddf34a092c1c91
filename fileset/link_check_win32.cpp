#include "fileset/link_check_win32.h"
#include "fileset/host_path_win32.h"
#include "fileset/system_calls_win32.h"

struct FinalPath {
    wchar_t text[HOST_PATH_SIZE];
    int length;
    bool known;
};

// The game directory's own, by the volume name form asked: VOLUME_NAME_DOS, VOLUME_NAME_NT,
// VOLUME_NAME_NONE.
static FinalPath directoryPaths[3];
static bool noDosName;
static wchar_t hostPath[HOST_PATH_SIZE];
static wchar_t answer[HOST_PATH_SIZE];

void ForgetDirectoryFinalPaths() {
    for (FinalPath& path : directoryPaths)
        path.known = false;
    noDosName = false;
}

// The final path of the handle opened on host, links followed; false with the last error of
// the call that failed. No access is asked, so a file held without sharing opens too.
static bool AskFinalPath(const wchar_t* host, DWORD volumeName, wchar_t* out, int* length) {
    HANDLE file =
        System().CreateFileW(host, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD got = System().GetFinalPathNameByHandleW(file, out, HOST_PATH_SIZE, volumeName);
    // A longer answer than the room for it gives the room it needs, and no path.
    DWORD error = got == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
    (void)System().CloseHandle(file); // only asked, never changed
    if (got == 0 || got >= HOST_PATH_SIZE) {
        SetLastError(error);
        return false;
    }
    *length = static_cast<int>(got);
    return true;
}

static const FinalPath* DirectoryFinalPath(DWORD volumeName) {
    FinalPath& path = directoryPaths[volumeName == VOLUME_NAME_DOS  ? 0
                                     : volumeName == VOLUME_NAME_NT ? 1
                                                                    : 2];
    if (path.known)
        return &path;
    const wchar_t* host = ResolvePath("", hostPath);
    if (!host || !AskFinalPath(host, volumeName, path.text, &path.length))
        return nullptr;
    // A drive root answers with its backslash; names are joined to it by one.
    if (path.length > 0 && path.text[path.length - 1] == L'\\')
        path.text[--path.length] = L'\0';
    path.known = true;
    return &path;
}

// Where the directory itself opens and answers in full, a failure in the short form means
// its volume has no such name.
DWORD EntryVolumeName() {
    if (!noDosName && !DirectoryFinalPath(VOLUME_NAME_DOS))
        noDosName = DirectoryFinalPath(VOLUME_NAME_NT) != nullptr;
    return noDosName ? VOLUME_NAME_NONE : VOLUME_NAME_DOS;
}

static bool SameIgnoringCase(const wchar_t* a, const wchar_t* b, int length) {
    return CompareStringOrdinal(a, length, b, length, TRUE) == CSTR_EQUAL;
}

NamePlace PlaceOf(const char* relative, DWORD volumeName) {
    const FinalPath* directory = DirectoryFinalPath(volumeName);
    const wchar_t* host = directory ? ResolvePath(relative, hostPath) : nullptr;
    int length = 0;
    if (!host || !AskFinalPath(host, volumeName, answer, &length))
        return NamePlace::Unknown;
    // The joined path ends in relative, one character to each of its code page 1252 bytes.
    int relativeLength = lstrlenA(relative);
    const wchar_t* name = host + lstrlenW(host) - relativeLength;
    bool own = length == directory->length + 1 + relativeLength &&
               answer[directory->length] == L'\\' &&
               SameIgnoringCase(answer, directory->text, directory->length) &&
               SameIgnoringCase(answer + directory->length + 1, name, relativeLength);
    return own ? NamePlace::Own : NamePlace::Elsewhere;
}
