#pragma once

// The directory every file primitive works in, in full and ending in its separator, in
// UTF-8 (on POSIX the path's own bytes); empty until it is set.
const char* ProgramDirectoryUtf8();
