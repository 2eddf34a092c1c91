#pragma once

#include "fileset/file_primitives.h"

// What each platform provides beneath the primitives. Paths come relative and backslash
// separated; the platform joins them to the program directory. Each platform also defines
// StartRetryBudget.

// PROBE_UNREADABLE when the lookup fails for another reason than a missing name; then
// PlatformFailure tells why. PROBE_LINK for a link, or a name in a folder that is one.
int PlatformProbe(const char* path);
// Lists folder as FileListFolder does; answers false, with PlatformFailure telling why, when
// it cannot.
bool PlatformListFolder(const char* folder, EntryPlace place, void* context);
// True when path holds a regular file or nothing, looked at without following a link;
// false on any doubt. A path that cannot be joined is left to the call that follows.
bool PlatformMayOverwrite(const char* path);
// Compares two files' bytes in full; false when either cannot be read.
bool PlatformCompare(const char* first, const char* second, bool* same);
// Copies over whatever target was, a read-only file included.
bool PlatformCopy(const char* source, const char* target);
// Puts a file's contents on the disk.
bool PlatformFlush(const char* path);
// Puts the program directory's entries on the disk.
bool PlatformFlushDirectory();
// Never replaces an existing target.
bool PlatformRename(const char* source, const char* target);
// A rename that replaces an existing target file in one step, a read-only one included.
bool PlatformReplace(const char* source, const char* target);
// Deletes a read-only file too.
bool PlatformDelete(const char* path);
// Read right after a failed call, before anything else can change the platform's error.
FileFailure PlatformFailure();
