#include "fileset/bulk_operations.h"
#include "fileset/file_table.h"

void BackupOriginals(FailedFiles* failed, BackupCopies* copies) {
    char parked[PARKED_PATH_SIZE];
    for (int i = 0; i < MANAGED_FILE_COUNT; ++i) {
        const ManagedFile& row = ManagedFileTable[i];
        copies->made[i] = false;
        if (row.switchOnly)
            continue;
        ParkedPath(row.livePath, PREFIX_ORIGINAL, parked);
        FileFailure answer = FileCopy(row.livePath, parked);
        copies->made[i] = answer == FileFailure::None;
        // Some game versions lack some of the files: a missing live file is no failure.
        NoteBackupAnswer(failed, row.livePath, answer, parked);
    }
}

void RemoveBackupCopies(FailedFiles* failed, const BackupCopies& copies) {
    char parked[PARKED_PATH_SIZE];
    for (int i = 0; i < MANAGED_FILE_COUNT; ++i) {
        if (copies.made[i])
            RemoveCopyIfUnchanged(
                failed, ManagedFileTable[i].livePath,
                ParkedPath(ManagedFileTable[i].livePath, PREFIX_ORIGINAL, parked));
    }
}
