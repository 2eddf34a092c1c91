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
static void ParkLiveFiles(const char* parkPrefix, FailedFiles* failed) {
    char parked[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        if (IsMarkerRow(row))
            continue;
        ParkedPath(row.livePath, parkPrefix, parked);
        NoteParkAnswer(failed, row.livePath, FileRename(row.livePath, parked), parked);
    }
}

// Phase 2 for every row but files.txt.
static void BringParkedFiles(const char* parkPrefix, const char* bringPrefix, FailedFiles* failed) {
    char brought[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        if (IsMarkerRow(row))
            continue;
        ParkedPath(row.livePath, bringPrefix, brought);
        NoteBringAnswer(failed, row.livePath, FileRename(brought, row.livePath), brought,
                        parkPrefix);
    }
}

static void SwitchFileSet(const char* parkPrefix, const char* bringPrefix,
                          bool absentFilesTxtCountsAsParked, FailedFiles* failed) {
    char marker[PARKED_PATH_SIZE];
    ParkedPath(FILES_TXT, parkPrefix, marker);
    if (!NoteMarkerAnswer(failed, FileRename(FILES_TXT, marker), marker,
                          absentFilesTxtCountsAsParked))
        return;
    int failedBefore = failed->count;
    ParkLiveFiles(parkPrefix, failed);
    BringParkedFiles(parkPrefix, bringPrefix, failed);
    if (failed->count != failedBefore)
        return;
    ParkedPath(FILES_TXT, bringPrefix, marker);
    NoteAnswer(failed, FILES_TXT, FileRename(marker, FILES_TXT), marker, FILES_TXT);
}

void SwitchToModified(FailedFiles* failed) {
    SwitchFileSet(PREFIX_ORIGINAL, PREFIX_MODIFIED, false, failed);
}

void SwitchToOriginal(FailedFiles* failed) {
    SwitchFileSet(PREFIX_MODIFIED, PREFIX_ORIGINAL, false, failed);
}

void RestoreOriginals(FailedFiles* failed) {
    SwitchFileSet(PREFIX_MODIFIED, PREFIX_ORIGINAL, true, failed);
}

void BringParkedOriginalsLive(FailedFiles* failed) {
    BringParkedFiles(nullptr, PREFIX_ORIGINAL, failed);
}
