#pragma once

#include "fileset/file_primitives.h"

// What each platform provides beneath the primitives. Paths come relative and backslash
// separated; the platform joins them to the program directory.

// PROBE_UNREADABLE when the lookup fails for another reason than a missing name.
int PlatformProbe(const char* path);
// Copies over whatever target was, a read-only file included.
bool PlatformCopy(const char* source, const char* target);
// Never replaces an existing target.
bool PlatformRename(const char* source, const char* target);
// A rename that replaces an existing target file in one step.
bool PlatformReplace(const char* source, const char* target);
bool PlatformDelete(const char* path);
// Read right after a failed call, before anything else can change the platform's error.
FileFailure PlatformFailure();
