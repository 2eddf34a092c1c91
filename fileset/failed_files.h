#pragma once

#include "fileset/file_primitives.h"
#include "fileset/file_table.h"

// Files that a bulk operation could not handle, each listed once, with the first reason.
struct FailedFile {
    char path[PARKED_PATH_SIZE];
    FileFailure reason;
};

// Every row of the table and every fixed name fits, so nothing is ever dropped.
constexpr int FAILED_FILES_CAPACITY = 200;

struct FailedFiles {
    int count;
    FailedFile files[FAILED_FILES_CAPACITY];
};

void ClearFailedFiles(FailedFiles* failed);
// Ignores a path already listed.
void AddFailedFile(FailedFiles* failed, const char* path, FileFailure reason);
// Right after a failed copy, rename or delete: lists path with the call's reason, unless
// the call failed only because there was nothing to move, copy or delete.
void NoteFailure(FailedFiles* failed, const char* path);
// A rename whose failure is noted under its source.
void RenameNoted(const char* source, const char* target, FailedFiles* failed);
