#include "fileset/file_state.h"

#include "fileset/file_primitives.h"
#include "fileset/file_table.h"

bool IsFileSetInstalled() {
    return IsPresent(FileProbe(MARKER_ORIGINAL)) || IsPresent(FileProbe(MARKER_MODIFIED)) ||
           IsPresent(FileProbe(MARKER_UNINSTALLING));
}

FileSetState QueryFileSetState() {
    if (IsPresent(FileProbe(MARKER_UNINSTALLING)))
        return FileSetState::Unfinished;
    bool originalParked = IsPresent(FileProbe(MARKER_ORIGINAL));
    bool modifiedParked = IsPresent(FileProbe(MARKER_MODIFIED));
    // A marker beside no files.txt: a switch or an installation that did not finish.
    if ((originalParked && modifiedParked) ||
        ((originalParked || modifiedParked) && !IsPresent(FileProbe(FILES_TXT))))
        return FileSetState::Conflict;
    return modifiedParked ? FileSetState::Original : FileSetState::Modified;
}
