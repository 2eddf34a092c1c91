#include "fileset/bulk_operations.h"
#include "fileset/file_table.h"

// Phase 1 parks every live file under parkPrefix, phase 2 brings every file parked under
// bringPrefix live. A missing file or a row already parked is no failure; a failure that
// leaves the row in the wrong set is.
static void SwitchFileSet(const char* parkPrefix, const char* bringPrefix, FailedFiles* failed) {
    char parked[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        ParkedPath(row.livePath, parkPrefix, parked);
        // A taken parked name means the row is parked already, or blocked: phase 2 tells.
        if (!FileRename(row.livePath, parked) && LastFileFailure() != FileFailure::Exists)
            NoteFailure(failed, row.livePath, row.livePath, parked);
    }
    for (const ManagedFile& row : ManagedFileTable) {
        ParkedPath(row.livePath, bringPrefix, parked);
        if (!FileRename(parked, row.livePath))
            NoteFailure(failed, row.livePath, parked, row.livePath);
    }
}

void SwitchToModified(FailedFiles* failed) {
    SwitchFileSet(PREFIX_ORIGINAL, PREFIX_MODIFIED, failed);
}

void SwitchToOriginal(FailedFiles* failed) {
    SwitchFileSet(PREFIX_MODIFIED, PREFIX_ORIGINAL, failed);
}
