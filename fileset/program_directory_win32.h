#pragma once

#include "fileset/program_directory.h"

// Finds the directory of the running program file, in full, and makes it the directory
// every file primitive works in. False when it cannot be determined.
bool LocateProgramDirectory();

// The game directory as the Windows primitives see it: a full path ending in a backslash,
// empty until LocateProgramDirectory has succeeded.
const wchar_t* ProgramDirectoryPath();
