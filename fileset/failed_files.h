#pragma once

#include "fileset/file_primitives.h"

// Files that a bulk operation could not handle, each listed once, with the first reason.
// Paths point to constant texts (table rows, fixed names), never to temporary buffers.
struct FailedFile {
    const char* path;
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
