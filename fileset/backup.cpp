#include "fileset/bulk_operations.h"
#include "fileset/file_table.h"

void BackupOriginals(FailedFiles* failed) {
    char parked[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        if (row.switchOnly)
            continue;
        ParkedPath(row.livePath, PREFIX_ORIGINAL, parked);
        // Some game versions lack some of the files: a missing live file is no failure.
        NoteBackupAnswer(failed, row.livePath, FileCopy(row.livePath, parked), parked);
    }
}
