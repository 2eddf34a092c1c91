#include "fileset/file_primitives.h"

#include "fileset/file_platform.h"

#include <cstring>
#include <initializer_list>

static FileFaultHook faultHook;

void SetFileFaultHook(FileFaultHook hook) {
    faultHook = hook;
}

static FileFailure InjectedFailure(FileOperation operation, const char* source,
                                   const char* target) {
    return faultHook ? faultHook(operation, source, target) : FileFailure::None;
}

// The platform's own answer, read before anything else can change it.
static FileFailure Answer(bool succeeded) {
    return succeeded ? FileFailure::None : PlatformFailure();
}

int FileProbe(const char* path) {
    FileFailure failure = InjectedFailure(FileOperation::Probe, path, nullptr);
    if (failure != FileFailure::None)
        return failure == FileFailure::Missing ? PROBE_MISSING : PROBE_UNREADABLE;
    return PlatformProbe(path);
}

FileFailure FileProbeFailure(const char* path) {
    FileFailure failure = InjectedFailure(FileOperation::Probe, path, nullptr);
    if (failure != FileFailure::None)
        return failure;
    return PlatformProbe(path) == PROBE_UNREADABLE ? PlatformFailure() : FileFailure::None;
}

FileFailure FileListFolder(const char* folder, EntryPlace place, void* context) {
    FileFailure failure = InjectedFailure(FileOperation::List, folder, nullptr);
    if (failure != FileFailure::None)
        return failure;
    return Answer(PlatformListFolder(folder, place, context));
}

NameLook FileSeamLook(const char* path, NameLook look) {
    FileFailure failure = InjectedFailure(FileOperation::Probe, path, nullptr);
    if (failure == FileFailure::Missing)
        return {NameKind::Absent, FileFailure::None};
    if (failure != FileFailure::None)
        return {NameKind::Unreadable, failure};
    return look;
}

// The copy is written under this prefix beside its target. The name is fixed, so that the
// next attempt overwrites what a killed one left; no table or parked name begins with it.
static const char TEMPORARY_PREFIX[] = "TMP!";

// Appends [from, end) to out from at, as far as out has room; answers the new end.
static int Append(char* out, int at, const char* from, const char* end) {
    while (from < end && at < TEMPORARY_PATH_SIZE - 1)
        out[at++] = *from++;
    return at;
}

void TemporaryCopyPath(const char* target, char* out) {
    const char* separator = std::strrchr(target, '\\');
    const char* name = separator ? separator + 1 : target;
    int at = Append(out, 0, target, name);
    at = Append(out, at, TEMPORARY_PREFIX, TEMPORARY_PREFIX + sizeof TEMPORARY_PREFIX - 1);
    out[Append(out, at, name, name + std::strlen(name))] = '\0';
}

// A copy that failed after it began to write: what was written goes, the old target was
// never touched. The first failure is the one kept.
static FileFailure Discard(const char* temporary, FileFailure failure) {
    if (InjectedFailure(FileOperation::Delete, temporary, nullptr) == FileFailure::None)
        (void)PlatformDelete(temporary);
    return failure;
}

FileFailure FileCopy(const char* source, const char* target) {
    FileFailure failure = InjectedFailure(FileOperation::Copy, source, target);
    if (failure != FileFailure::None)
        return failure;
    char temporary[TEMPORARY_PATH_SIZE];
    if (std::strlen(target) + sizeof TEMPORARY_PREFIX > sizeof temporary)
        return FileFailure::Other;
    TemporaryCopyPath(target, temporary);
    // A directory or link there is not ours to overwrite or to write through.
    if (!PlatformMayOverwrite(temporary))
        return FileFailure::Exists;
    if (!PlatformCopy(source, temporary))
        return Discard(temporary, PlatformFailure());
    // The bytes reach the disk before the copy takes its name, so that a power cut never
    // leaves an empty file under it.
    failure = InjectedFailure(FileOperation::Flush, temporary, nullptr);
    if (failure != FileFailure::None)
        return Discard(temporary, failure);
    if (!PlatformFlush(temporary))
        return Discard(temporary, PlatformFailure());
    failure = InjectedFailure(FileOperation::Replace, temporary, target);
    if (failure != FileFailure::None)
        return Discard(temporary, failure);
    if (!PlatformReplace(temporary, target))
        return Discard(temporary, PlatformFailure());
    return FileFailure::None;
}

FileFailure FileCompare(const char* first, const char* second, bool* same) {
    for (const char* path : {first, second}) {
        FileFailure failure = InjectedFailure(FileOperation::Probe, path, nullptr);
        if (failure != FileFailure::None)
            return failure;
    }
    return Answer(PlatformCompare(first, second, same));
}

FileFailure FileRename(const char* source, const char* target) {
    FileFailure failure = InjectedFailure(FileOperation::Rename, source, target);
    if (failure != FileFailure::None)
        return failure;
    return Answer(PlatformRename(source, target));
}

FileFailure FileDelete(const char* path) {
    FileFailure failure = InjectedFailure(FileOperation::Delete, path, nullptr);
    if (failure != FileFailure::None)
        return failure;
    return Answer(PlatformDelete(path));
}

FileFailure FlushGameDirectory() {
    FileFailure failure = InjectedFailure(FileOperation::Flush, "", nullptr);
    if (failure != FileFailure::None)
        return failure;
    return Answer(PlatformFlushDirectory());
}
