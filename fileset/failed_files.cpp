#include "fileset/failed_files.h"

#include <cstring>

void ClearFailedFiles(FailedFiles* failed) {
    failed->count = 0;
}

// Every path the program handles fits; a longer one would be cut, never overrun.
static void CopyName(char (&out)[PARKED_PATH_SIZE], const char* name) {
    std::strncpy(out, name != nullptr ? name : "", sizeof out - 1);
    out[sizeof out - 1] = 0;
}

void AddFailedFile(FailedFiles* failed, const char* path, FileFailure reason, const char* other) {
    for (int i = 0; i < failed->count; ++i) {
        if (std::strcmp(failed->files[i].path, path) == 0)
            return;
    }
    if (failed->count == FAILED_FILES_CAPACITY)
        return;
    FailedFile* file = &failed->files[failed->count++];
    CopyName(file->path, path);
    file->reason = reason;
    CopyName(file->other, other);
}

void NoteFailure(FailedFiles* failed, const char* path, const char* source, const char* target) {
    FileFailure reason = LastFileFailure();
    // For a copy or rename "not found" may also mean the target's directory: only an
    // absent source is no failure.
    if (reason == FileFailure::Missing && (target == nullptr || !IsPresent(FileProbe(source))))
        return;
    bool aboutTarget = (reason == FileFailure::Exists || reason == FileFailure::Missing) &&
                       target != nullptr && std::strcmp(target, path) != 0;
    AddFailedFile(failed, path, reason, aboutTarget ? target : nullptr);
}

void RenameNoted(const char* source, const char* target, FailedFiles* failed) {
    if (!FileRename(source, target))
        NoteFailure(failed, source, source, target);
}
