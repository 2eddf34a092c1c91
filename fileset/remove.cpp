#include "fileset/bulk_operations.h"
#include "fileset/file_table.h"

void RemoveModifiedSet(FailedFiles* failed) {
    char parked[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        if (row.switchOnly)
            continue;
        ParkedPath(row.livePath, PREFIX_MODIFIED, parked);
        if (MayDeleteModifiedCopy(failed, row.livePath, parked))
            NoteAnswer(failed, parked, FileDelete(parked), parked, nullptr);
    }
}
