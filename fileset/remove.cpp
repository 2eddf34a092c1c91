#include "fileset/bulk_operations.h"
#include "fileset/file_table.h"

void RemoveModifiedSet(FailedFiles* failed) {
    char parked[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        if (row.switchOnly)
            continue;
        ParkedPath(row.livePath, PREFIX_MODIFIED, parked);
        if (IsFile(FileProbe(row.livePath))) {
            if (!FileDelete(parked))
                NoteFailure(failed, parked, parked, nullptr);
        } else if (IsPresent(FileProbe(parked))) {
            // No original came live beside it: this may be the only copy of the file.
            AddFailedFile(failed, parked, FileFailure::KeptOnlyCopy);
        }
    }
}
