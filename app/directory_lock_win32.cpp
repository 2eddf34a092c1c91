#include "app/program.h"

#include <windows.h>

#include <stdio.h>
#include <wctype.h>

#include "fileset/program_directory_win32.h"

// FNV-1a over the directory's path in upper case: the lock's name when the directory's
// identity cannot be read.
static unsigned long long SpellingHash() {
    unsigned long long hash = 14695981039346656037ull;
    for (const wchar_t* c = ProgramDirectoryPath(); *c != 0; ++c) {
        hash ^= static_cast<unsigned long long>(towupper(*c));
        hash *= 1099511628211ull;
    }
    return hash;
}

bool LockGameDirectory() {
    // Named for the directory's identity rather than its spelling, so that letter case,
    // \\?\, short names and drive mappings all lead to the same lock.
    HANDLE directory = CreateFileW(ProgramDirectoryPath(), 0,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION identity = {};
    bool known = directory != INVALID_HANDLE_VALUE &&
                 GetFileInformationByHandle(directory, &identity) != FALSE;
    if (directory != INVALID_HANDLE_VALUE)
        (void)CloseHandle(directory);
    unsigned long long index =
        known ? (static_cast<unsigned long long>(identity.nFileIndexHigh) << 32) |
                    identity.nFileIndexLow
              : SpellingHash();
    char name[64];
    (void)snprintf(name, sizeof name, "Local\\Tauschwerk-%08lX-%016llX",
                   known ? identity.dwVolumeSerialNumber : 0ul, index);
    // A mutex ends with its process, even a killed one. A copy running as administrator
    // holds one that this copy may not even open: that counts as held too. The handle
    // stays open until the process ends.
    HANDLE lock = CreateMutexA(nullptr, FALSE, name);
    return lock != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
}
