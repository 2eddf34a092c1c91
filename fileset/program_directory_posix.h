#pragma once

#include "fileset/program_directory.h"

// The game directory as the POSIX primitives see it: an absolute path ending in '/'.
const char* ProgramDirectoryPath();

// Points every primitive at dir (with or without a trailing '/'); for tests and tools that
// run outside a game directory. False when dir is empty or too long.
bool UseProgramDirectory(const char* dir);
