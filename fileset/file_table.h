#pragma once

// The fixed list of game files whose two versions are swapped by renaming.

struct ManagedFile {
    const char* livePath; // relative to the game directory, backslash separated, lower case
    bool switchOnly;      // swapped, but neither backed up nor removed (files.txt, filelist.pak)
};

constexpr int MANAGED_FILE_COUNT = 185;
extern const ManagedFile ManagedFileTable[MANAGED_FILE_COUNT];

inline constexpr char PREFIX_ORIGINAL[] = "ORI!";
inline constexpr char PREFIX_MODIFIED[] = "MOD!";

// Room for the longest parked path of the table (45 characters) and its zero.
constexpr int PARKED_PATH_SIZE = 64;

// Writes livePath with prefix put in front of its file name (not its directory) into out,
// which holds PARKED_PATH_SIZE bytes.
void ParkedPath(const char* livePath, const char* prefix, char* out);
