#pragma once

#include "fileset/file_primitives.h"
#include "fileset/file_table.h"

// Files that a bulk operation could not handle, each listed once, with the first reason.
struct FailedFile {
    char path[PARKED_PATH_SIZE];
    FileFailure reason;
    char other[PARKED_PATH_SIZE]; // the other name the reason concerns, or empty
};

// Every row of the table and every fixed name fits, so nothing is ever dropped.
constexpr int FAILED_FILES_CAPACITY = 200;

struct FailedFiles {
    int count;
    FailedFile files[FAILED_FILES_CAPACITY];
};

void ClearFailedFiles(FailedFiles* failed);
// Ignores a path already listed.
void AddFailedFile(FailedFiles* failed, const char* path, FileFailure reason,
                   const char* other = nullptr);
// Right after a failed copy or rename of source to target, or delete of source (target
// null): lists path with the call's reason, unless source simply is not there. A reason
// that concerns the target (its name taken, its directory missing) names the target too.
void NoteFailure(FailedFiles* failed, const char* path, const char* source, const char* target);
// A rename whose failure is noted under its source.
void RenameNoted(const char* source, const char* target, FailedFiles* failed);
