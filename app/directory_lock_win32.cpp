#include "app/directory_lock_win32.h"
#include "app/program.h"

#include <windows.h>

#include <stdio.h>
#include <wctype.h>

#include "fileset/program_directory.h"
#include "fileset/system_calls_win32.h"

// The longest path the wide-character API accepts.
static wchar_t widePath[32768];

// FNV-1a over the path in upper case.
static unsigned long long SpellingHash(const wchar_t* path) {
    unsigned long long hash = 14695981039346656037ull;
    for (const wchar_t* c = path; *c != 0; ++c) {
        hash ^= static_cast<unsigned long long>(towupper(*c));
        hash *= 1099511628211ull;
    }
    return hash;
}

void DirectoryLockName(const char* directory, char (&name)[LOCK_NAME_SIZE]) {
    // A path that does not convert is hashed as empty: still one name for it.
    if (MultiByteToWideChar(CP_UTF8, 0, directory, -1, widePath,
                            sizeof widePath / sizeof widePath[0]) == 0)
        widePath[0] = L'\0';
    HANDLE handle =
        System().CreateFileW(widePath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION identity = {};
    bool known = handle != INVALID_HANDLE_VALUE &&
                 System().GetFileInformationByHandle(handle, &identity) != FALSE;
    if (handle != INVALID_HANDLE_VALUE)
        (void)System().CloseHandle(handle);
    unsigned long long index =
        known ? (static_cast<unsigned long long>(identity.nFileIndexHigh) << 32) |
                    identity.nFileIndexLow
              : SpellingHash(widePath);
    (void)snprintf(name, LOCK_NAME_SIZE, "Global\\Tauschwerk-%08lX-%016llX",
                   known ? identity.dwVolumeSerialNumber : 0ul, index);
}

bool LockGameDirectory() {
    char name[LOCK_NAME_SIZE];
    DirectoryLockName(ProgramDirectoryUtf8(), name);
    // A mutex ends with its process, even a killed one. One that another user's copy holds
    // cannot even be opened: that counts as held too.
    HANDLE lock = System().CreateMutexA(nullptr, FALSE, name);
    if (lock != nullptr && GetLastError() != ERROR_ALREADY_EXISTS)
        return true; // held until the process ends
    // A refused copy must not keep the lock alive after the copy that holds it has ended.
    if (lock != nullptr)
        (void)System().CloseHandle(lock);
    return false;
}
