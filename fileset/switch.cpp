#include "fileset/bulk_operations.h"
#include "fileset/file_table.h"

#include <cstring>

// files.txt is parked before every other row and brought live after all of them, so that
// both markers lie on disk from the first rename of a switch to its last: cut short
// anywhere, or stopped by a file that will not move, the directory reads as a switch not
// finished, never as a set that is only partly live. The next start finishes it toward the
// originals.

static bool IsMarkerRow(const ManagedFile& row) {
    return std::strcmp(row.livePath, FILES_TXT) == 0;
}

// Phase 1 for every row but files.txt.
static void ParkLiveFiles(FailedFiles* failed, const char* parkPrefix) {
    char parked[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        if (IsMarkerRow(row))
            continue;
        ParkedPath(row.livePath, parkPrefix, parked);
        NoteParkAnswer(failed, row.livePath, FileRename(row.livePath, parked), parked);
    }
}

// Phase 2 for every row but files.txt.
static void BringParkedFiles(FailedFiles* failed, const char* parkPrefix, const char* bringPrefix) {
    char brought[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        if (IsMarkerRow(row))
            continue;
        ParkedPath(row.livePath, bringPrefix, brought);
        NoteBringAnswer(failed, row.livePath, FileRename(brought, row.livePath), brought,
                        parkPrefix);
    }
}

static void SwitchFileSet(FailedFiles* failed, const char* parkPrefix, const char* bringPrefix,
                          bool absentFilesTxtCountsAsParked) {
    char marker[PARKED_PATH_SIZE];
    ParkedPath(FILES_TXT, parkPrefix, marker);
    if (!NoteMarkerAnswer(failed, FileRename(FILES_TXT, marker), marker,
                          absentFilesTxtCountsAsParked))
        return;
    int failedBefore = failed->count;
    ParkLiveFiles(failed, parkPrefix);
    BringParkedFiles(failed, parkPrefix, bringPrefix);
    if (failed->count != failedBefore)
        return;
    ParkedPath(FILES_TXT, bringPrefix, marker);
    NoteAnswer(failed, FILES_TXT, FileRename(marker, FILES_TXT), marker, FILES_TXT);
}

void SwitchToModified(FailedFiles* failed) {
    SwitchFileSet(failed, PREFIX_ORIGINAL, PREFIX_MODIFIED, false);
}

void SwitchToOriginal(FailedFiles* failed) {
    SwitchFileSet(failed, PREFIX_MODIFIED, PREFIX_ORIGINAL, false);
}

void RestoreOriginals(FailedFiles* failed) {
    SwitchFileSet(failed, PREFIX_MODIFIED, PREFIX_ORIGINAL, true);
}

void BringParkedOriginalsLive(FailedFiles* failed) {
    BringParkedFiles(failed, nullptr, PREFIX_ORIGINAL);
}
