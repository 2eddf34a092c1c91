#include "fileset/failed_files.h"

#include <cstring>

void ClearFailedFiles(FailedFiles* failed) {
    failed->count = 0;
}

void AddFailedFile(FailedFiles* failed, const char* path, FileFailure reason) {
    for (int i = 0; i < failed->count; ++i) {
        if (std::strcmp(failed->files[i].path, path) == 0)
            return;
    }
    if (failed->count == FAILED_FILES_CAPACITY)
        return;
    FailedFile* file = &failed->files[failed->count++];
    // Every path the program handles fits; a longer one would be cut, never overrun.
    std::strncpy(file->path, path, sizeof file->path - 1);
    file->path[sizeof file->path - 1] = 0;
    file->reason = reason;
}

void NoteFailure(FailedFiles* failed, const char* path) {
    if (LastFileFailure() != FileFailure::Missing)
        AddFailedFile(failed, path, LastFileFailure());
}

void RenameNoted(const char* source, const char* target, FailedFiles* failed) {
    if (!FileRename(source, target))
        NoteFailure(failed, source);
}
