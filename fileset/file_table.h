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

// The two switch-only rows and their parked names: the installation and the uninstallation
// move them by hand. files.txt's parked names are the markers of which set is live.
inline constexpr char FILES_TXT[] = "files.txt";
inline constexpr char MARKER_ORIGINAL[] = "ORI!files.txt";
inline constexpr char MARKER_MODIFIED[] = "MOD!files.txt";
// The original files.txt while an uninstallation deletes the modified set: until it has
// finished, the directory reads as an uninstallation not finished.
inline constexpr char MARKER_UNINSTALLING[] = "DEI!files.txt";
inline constexpr char FILELIST_PAK[] = "pc\\data\\filelist.pak";
inline constexpr char FILELIST_PAK_ORIGINAL[] = "pc\\data\\ORI!filelist.pak";
inline constexpr char FILELIST_PAK_MODIFIED[] = "pc\\data\\MOD!filelist.pak";
// The program's own files, which become the modified files.txt and filelist.pak.
inline constexpr char SETUP_FILE_1[] = "Setup1.Vornak";
inline constexpr char SETUP_FILE_2[] = "Setup2.Vornak";
// The name files.txt bears for a moment while the installation tests write access.
inline constexpr char TEST_WRITE[] = "TEST.WRITE";

// Room for the longest parked path of the table (45 characters) and its zero.
constexpr int PARKED_PATH_SIZE = 64;

// Writes livePath with prefix put in front of its file name (not its directory) into out,
// which holds PARKED_PATH_SIZE bytes; answers out.
const char* ParkedPath(const char* livePath, const char* prefix, char* out);
