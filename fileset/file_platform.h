#pragma once

#include "fileset/file_primitives.h"

// What each platform provides beneath the primitives. Paths come relative and backslash
// separated; the platform joins them to the program directory.

int PlatformProbe(const char* path);
bool PlatformCopy(const char* source, const char* target);
bool PlatformRename(const char* source, const char* target);
bool PlatformDelete(const char* path);
// Read right after a failed call, before anything else can change the platform's error.
FileFailure PlatformFailure();
