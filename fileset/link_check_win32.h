#pragma once

#include <windows.h>

// Whether a name of the game directory leads to its own place. A handle opened on a name
// knows where the system's resolution of links and junctions took it, also where the
// attributes show nothing: Wine shows a Unix symbolic link as a plain file or folder.

enum class NamePlace {
    Own,       // the game directory's own final path joined to the name
    Elsewhere, // a link, or a name in a folder that is one
    Unknown,   // the name could not be opened or asked; the last error tells why
};

// relative: backslash separated, as the table writes it. volumeName: VOLUME_NAME_NT, which
// names every volume, or EntryVolumeName(), cheaper, where the caller knows the name's folder
// lies on the game directory's volume.
NamePlace PlaceOf(const char* relative, DWORD volumeName);

// VOLUME_NAME_DOS (the drive letter or share), unless the game directory's volume has none
// (a RAM disk the system's mount manager does not know): then VOLUME_NAME_NONE.
DWORD EntryVolumeName();

// The game directory's own final paths are asked once; a newly located directory forgets
// them.
void ForgetDirectoryFinalPaths();
