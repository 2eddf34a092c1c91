#include "fileset/file_primitives.h"

#include "fileset/file_platform.h"
#include "fileset/file_table.h"

#include <cstring>

static FileFaultHook faultHook;
static FileFailure lastFailure = FileFailure::None;

void SetFileFaultHook(FileFaultHook hook) {
    faultHook = hook;
}

FileFailure LastFileFailure() {
    return lastFailure;
}

static FileFailure InjectedFailure(FileOperation operation, const char* source,
                                   const char* target) {
    return faultHook ? faultHook(operation, source, target) : FileFailure::None;
}

// Records the outcome of a copy, rename or delete the way the platform keeps its last error.
static bool Outcome(bool succeeded) {
    lastFailure = succeeded ? FileFailure::None : PlatformFailure();
    return succeeded;
}

static bool Failed(FileFailure failure) {
    lastFailure = failure;
    return false;
}

int FileProbe(const char* path) {
    FileFailure failure = InjectedFailure(FileOperation::Probe, path, nullptr);
    if (failure != FileFailure::None)
        return failure == FileFailure::Missing ? PROBE_MISSING : PROBE_UNREADABLE;
    return PlatformProbe(path);
}

// The copy is written under this prefix beside its target. The name is fixed, so that the
// next attempt overwrites what a killed one left; no table or parked name begins with it.
static const char TEMPORARY_PREFIX[] = "TMP!";

bool FileCopy(const char* source, const char* target) {
    FileFailure failure = InjectedFailure(FileOperation::Copy, source, target);
    if (failure != FileFailure::None)
        return Failed(failure);
    char temporary[PARKED_PATH_SIZE];
    if (std::strlen(target) + sizeof TEMPORARY_PREFIX > sizeof temporary)
        return Failed(FileFailure::Other);
    ParkedPath(target, TEMPORARY_PREFIX, temporary);
    if (PlatformCopy(source, temporary) && PlatformReplace(temporary, target))
        return Outcome(true);
    lastFailure = PlatformFailure();
    // What was written goes; the old target was never touched.
    (void)PlatformDelete(temporary);
    return false;
}

bool FileRename(const char* source, const char* target) {
    FileFailure failure = InjectedFailure(FileOperation::Rename, source, target);
    if (failure != FileFailure::None)
        return Failed(failure);
    return Outcome(PlatformRename(source, target));
}

bool FileDelete(const char* path) {
    FileFailure failure = InjectedFailure(FileOperation::Delete, path, nullptr);
    if (failure != FileFailure::None)
        return Failed(failure);
    return Outcome(PlatformDelete(path));
}
