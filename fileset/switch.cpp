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

// Phase 1 for every row but files.txt. A taken parked name means the row is in the new set
// already (a switch run again), or blocked: phase 2 tells.
static void ParkLiveFiles(const char* parkPrefix, FailedFiles* failed) {
    char parked[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        if (IsMarkerRow(row))
            continue;
        ParkedPath(row.livePath, parkPrefix, parked);
        if (!FileRename(row.livePath, parked) && LastFileFailure() != FileFailure::Exists)
            NoteFailure(failed, row.livePath, row.livePath, parked);
    }
}

// Phase 2 for every row but files.txt. Where the live name is still taken, the copy parked
// under parkPrefix, if any, is what stands in the way. Without parkPrefix nothing was parked
// before, and a taken live name is left for the caller to judge.
static void BringParkedFiles(const char* parkPrefix, const char* bringPrefix, FailedFiles* failed) {
    char brought[PARKED_PATH_SIZE];
    char blocking[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        if (IsMarkerRow(row) ||
            FileRename(ParkedPath(row.livePath, bringPrefix, brought), row.livePath))
            continue;
        if (LastFileFailure() != FileFailure::Exists) {
            NoteFailure(failed, row.livePath, brought, row.livePath);
        } else if (parkPrefix != nullptr) {
            bool parkedCopyThere =
                IsPresent(FileProbe(ParkedPath(row.livePath, parkPrefix, blocking)));
            AddFailedFile(failed, row.livePath, FileFailure::Exists,
                          parkedCopyThere ? blocking : nullptr);
        }
    }
}

// filesTxtMayBeParked: an absent files.txt counts as parked already (a switch cut short);
// otherwise the switch starts only from a live files.txt.
static void SwitchFileSet(const char* parkPrefix, const char* bringPrefix, bool filesTxtMayBeParked,
                          FailedFiles* failed) {
    char marker[PARKED_PATH_SIZE];
    ParkedPath(FILES_TXT, parkPrefix, marker);
    if (!FileRename(FILES_TXT, marker)) {
        FileFailure reason = LastFileFailure();
        bool parkedAlready = reason == FileFailure::Missing && filesTxtMayBeParked &&
                             !IsPresent(FileProbe(FILES_TXT));
        if (!parkedAlready) {
            AddFailedFile(failed, FILES_TXT, reason,
                          reason == FileFailure::Exists ? marker : nullptr);
            return;
        }
    }
    int failedBefore = failed->count;
    ParkLiveFiles(parkPrefix, failed);
    BringParkedFiles(parkPrefix, bringPrefix, failed);
    if (failed->count != failedBefore)
        return;
    ParkedPath(FILES_TXT, bringPrefix, marker);
    if (!FileRename(marker, FILES_TXT))
        NoteFailure(failed, FILES_TXT, marker, FILES_TXT);
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
