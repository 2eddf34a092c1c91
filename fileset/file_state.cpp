#include "fileset/file_state.h"

#include "fileset/file_primitives.h"
#include "fileset/file_table.h"

bool IsFileSetInstalled() {
    return IsPresent(FileProbe(MARKER_ORIGINAL)) || IsPresent(FileProbe(MARKER_MODIFIED));
}

FileSetState QueryFileSetState() {
    if (!IsPresent(FileProbe(MARKER_MODIFIED)))
        return FileSetState::Modified;
    if (!IsPresent(FileProbe(MARKER_ORIGINAL)))
        return FileSetState::Original;
    return FileSetState::Conflict;
}
