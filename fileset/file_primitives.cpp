#include "fileset/file_primitives.h"

#include "fileset/file_platform.h"

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

static bool Injected(FileFailure failure) {
    lastFailure = failure;
    return false;
}

int FileProbe(const char* path) {
    if (InjectedFailure(FileOperation::Probe, path, nullptr) != FileFailure::None)
        return PROBE_MISSING;
    return PlatformProbe(path);
}

bool FileCopy(const char* source, const char* target) {
    FileFailure failure = InjectedFailure(FileOperation::Copy, source, target);
    if (failure != FileFailure::None)
        return Injected(failure);
    return Outcome(PlatformCopy(source, target));
}

bool FileRename(const char* source, const char* target) {
    FileFailure failure = InjectedFailure(FileOperation::Rename, source, target);
    if (failure != FileFailure::None)
        return Injected(failure);
    return Outcome(PlatformRename(source, target));
}

bool FileDelete(const char* path) {
    FileFailure failure = InjectedFailure(FileOperation::Delete, path, nullptr);
    if (failure != FileFailure::None)
        return Injected(failure);
    return Outcome(PlatformDelete(path));
}
