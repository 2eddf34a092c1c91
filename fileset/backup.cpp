#include "fileset/bulk_operations.h"
#include "fileset/file_table.h"

void BackupOriginals(FailedFiles* failed) {
    char parked[PARKED_PATH_SIZE];
    char temporary[TEMPORARY_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        if (row.switchOnly)
            continue;
        ParkedPath(row.livePath, PREFIX_ORIGINAL, parked);
        // Some game versions lack some of the files: a missing live file is no failure.
        if (FileCopy(row.livePath, parked))
            continue;
        // A copy replaces its target: a taken name can only be its temporary name.
        if (LastFileFailure() == FileFailure::Exists) {
            TemporaryCopyPath(parked, temporary);
            AddFailedFile(failed, row.livePath, FileFailure::Exists, temporary);
        } else {
            NoteFailure(failed, row.livePath, row.livePath, parked);
        }
    }
}
