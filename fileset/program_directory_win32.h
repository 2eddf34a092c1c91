#pragma once

// The game directory as the Windows primitives see it: a full path ending in a backslash,
// empty until LocateProgramDirectory has succeeded.
const wchar_t* ProgramDirectoryPath();
