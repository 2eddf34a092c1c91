#pragma once

// The only ways the program touches the disk. Paths are relative to the game directory,
// backslash separated, as the managed file table writes them.

constexpr int PROBE_MISSING = -1;
constexpr int PROBE_DIRECTORY = -2;
// Something is there that cannot be looked at (no access, held open, being deleted). It
// counts as present but not as a file, so that every caller errs on the side that keeps
// files.
constexpr int PROBE_UNREADABLE = -3;
// A link (a symbolic link, a junction, or a name whose folder is one): present, but never
// followed, so that nothing outside the game directory is moved, overwritten or deleted.
constexpr int PROBE_LINK = -4;
// A regular file too large for the signed 32-bit answer reports this instead.
constexpr int PROBE_SIZE_LIMIT = 2147483647;

// What the platform answered to a copy, rename, delete or flush. Whether an answer is a
// failure worth telling the player is for the caller to decide.
enum class FileFailure {
    None,
    Missing,      // the source (or a directory on its way) does not exist
    Exists,       // the target name is already taken
    InUse,        // another program holds the file open
    AccessDenied, // no write access, read-only file
    DiskFull,
    Link, // the name is a link, which is never followed
    Other,
};

// What a name holds, looked at without following a link.
enum class NameKind { Absent, File, Directory, Link, Unreadable };
struct NameLook {
    NameKind kind;
    FileFailure reason; // why an Unreadable name could not be looked at
};

// The size in bytes, PROBE_MISSING, PROBE_DIRECTORY, PROBE_UNREADABLE or PROBE_LINK.
int FileProbe(const char* path);
// Why path cannot be looked at, for a probe that answered PROBE_UNREADABLE.
FileFailure FileProbeFailure(const char* path);
// Lists folder (relative; "" is the game directory) once and asks place where each entry's
// look goes; an entry it places is looked at without following a link. Answers Missing when
// the folder is not there, another failure when it cannot be listed. A folder that is a
// link, or lies in one, lists every entry it places as a link.
typedef NameLook* (*EntryPlace)(void* context, const char* name);
FileFailure FileListFolder(const char* folder, EntryPlace place, void* context);
// The test seam's say on a name that a listing found: it may make it missing or unreadable.
NameLook FileSeamLook(const char* path, NameLook look);
// Writes the copy under its temporary name, flushes it to the disk and only then renames
// it over an existing target: a copy that fails or is cut short leaves the old target as
// it was and no partial file under its name. Answers FileFailure::Exists only when its
// temporary name is taken by something that is not a regular file (a directory, a link),
// which it then leaves alone.
FileFailure FileCopy(const char* source, const char* target);
// Compares two files' bytes in full: None with *same set, or why they could not be read.
FileFailure FileCompare(const char* first, const char* second, bool* same);
// Never replaces an existing target, whatever its letter case; moves across directories.
FileFailure FileRename(const char* source, const char* target);
// Deletes a read-only file too.
FileFailure FileDelete(const char* path);
// Puts the renames made in the game directory itself on the disk.
FileFailure FlushGameDirectory();

// Room for a target of up to 63 characters, the temporary prefix and the zero.
constexpr int TEMPORARY_PATH_SIZE = 64 + 4;
// The name FileCopy writes target's copy under before it renames it: target with TMP! in
// front of its file name. out holds TEMPORARY_PATH_SIZE bytes; a longer name is cut.
void TemporaryCopyPath(const char* target, char* out);

// Starts the command's budget of waiting. Where another program may hold a file for a
// moment (Windows: a virus scanner, an indexer), a call that meets such a hold is tried
// again for about a second, and a command waits about five seconds in all.
void StartRetryBudget();

// Anything the probe finds, a directory included, counts as present.
inline bool IsPresent(int probeResult) {
    return probeResult != PROBE_MISSING;
}
inline bool IsFile(int probeResult) {
    return probeResult >= 0;
}
inline bool IsPresent(const NameLook& look) {
    return look.kind != NameKind::Absent;
}

// Test seam: a hook called before every platform call that touches the disk; when it
// answers anything but FileFailure::None, the primitive fails with that reason and leaves
// the disk alone from there on (a probe then answers PROBE_MISSING for
// FileFailure::Missing, else PROBE_UNREADABLE). Within a copy: Copy (source, target), Flush
// (temporary), Replace (temporary, target) and, when it failed, Delete (temporary).
// FlushGameDirectory is a Flush of "". A listing is a List of its folder, and each name it
// finds a Probe; a comparison a Probe of each file. The program itself never sets it.
enum class FileOperation { Probe, List, Copy, Flush, Replace, Rename, Delete };
typedef FileFailure (*FileFaultHook)(FileOperation operation, const char* source,
                                     const char* target);
void SetFileFaultHook(FileFaultHook hook);
