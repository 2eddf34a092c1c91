#include "fileset/failure_policy.h"

#include <cstring>

void ClearFailedFiles(FailedFiles* failed) {
    failed->count = 0;
}

// Every path the program handles fits; a longer one would be cut, never overrun.
static void CopyName(char (&out)[PARKED_PATH_SIZE], const char* name) {
    int at = 0;
    for (; name != nullptr && name[at] != 0 && at < PARKED_PATH_SIZE - 1; ++at)
        out[at] = name[at];
    out[at] = 0;
}

void AddFailedFile(FailedFiles* failed, const char* path, FailureReason reason, const char* other) {
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

static FailureReason ReasonOf(FileFailure answer) {
    switch (answer) {
    case FileFailure::Missing:
        return FailureReason::Missing;
    case FileFailure::Exists:
        return FailureReason::Exists;
    case FileFailure::InUse:
        return FailureReason::InUse;
    case FileFailure::AccessDenied:
        return FailureReason::AccessDenied;
    case FileFailure::DiskFull:
        return FailureReason::DiskFull;
    case FileFailure::None:
    case FileFailure::Other:
        break;
    }
    return FailureReason::Other;
}

void NoteAnswer(FailedFiles* failed, const char* path, FileFailure answer, const char* source,
                const char* target) {
    if (answer == FileFailure::None)
        return;
    // For a copy or rename "not found" may also mean the target's directory: only an
    // absent source is no failure.
    if (answer == FileFailure::Missing && (target == nullptr || !IsPresent(FileProbe(source))))
        return;
    bool aboutTarget = (answer == FileFailure::Exists || answer == FileFailure::Missing) &&
                       target != nullptr && std::strcmp(target, path) != 0;
    AddFailedFile(failed, path, ReasonOf(answer), aboutTarget ? target : nullptr);
}

bool StepDone(FailedFiles* failed, const char* path, FileFailure answer) {
    if (answer != FileFailure::None)
        AddFailedFile(failed, path, ReasonOf(answer));
    return answer == FileFailure::None;
}

bool RenameNoted(FailedFiles* failed, const char* source, const char* target) {
    FileFailure answer = FileRename(source, target);
    NoteAnswer(failed, source, answer, source, target);
    return answer == FileFailure::None;
}

void NoteBackupAnswer(FailedFiles* failed, const char* live, FileFailure answer,
                      const char* parked) {
    if (answer != FileFailure::Exists) {
        NoteAnswer(failed, live, answer, live, parked);
        return;
    }
    char temporary[TEMPORARY_PATH_SIZE];
    TemporaryCopyPath(parked, temporary);
    AddFailedFile(failed, live, FailureReason::Exists, temporary);
}

void NoteParkAnswer(FailedFiles* failed, const char* live, FileFailure answer, const char* parked) {
    if (answer != FileFailure::Exists)
        NoteAnswer(failed, live, answer, live, parked);
}

void NoteBringAnswer(FailedFiles* failed, const char* live, FileFailure answer, const char* brought,
                     const char* parkPrefix) {
    if (answer != FileFailure::Exists) {
        NoteAnswer(failed, live, answer, brought, live);
    } else if (parkPrefix != nullptr) {
        char blocking[PARKED_PATH_SIZE];
        bool parkedCopyThere = IsPresent(FileProbe(ParkedPath(live, parkPrefix, blocking)));
        AddFailedFile(failed, live, FailureReason::Exists, parkedCopyThere ? blocking : nullptr);
    }
}

bool NoteMarkerAnswer(FailedFiles* failed, FileFailure answer, const char* marker,
                      bool absentCountsAsParked) {
    if (answer == FileFailure::None || (answer == FileFailure::Missing && absentCountsAsParked &&
                                        !IsPresent(FileProbe(FILES_TXT))))
        return true;
    AddFailedFile(failed, FILES_TXT, ReasonOf(answer),
                  answer == FileFailure::Exists ? marker : nullptr);
    return false;
}

bool MayDeleteModifiedCopy(FailedFiles* failed, const char* live, const char* parked) {
    if (IsFile(FileProbe(live)))
        return true;
    if (IsPresent(FileProbe(parked)))
        AddFailedFile(failed, parked, FailureReason::KeptOnlyCopy);
    return false;
}

void ListMissingFolder(FailedFiles* failed, const char* folder) {
    if (FileProbe(folder) != PROBE_DIRECTORY)
        AddFailedFile(failed, folder, FailureReason::Missing);
}

void ListLeftOverCopies(FailedFiles* failed) {
    char parked[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        if (IsPresent(FileProbe(ParkedPath(row.livePath, PREFIX_MODIFIED, parked))))
            AddFailedFile(failed, parked, FailureReason::LeftOver);
    }
}

void ListStrayMarkers(FailedFiles* failed) {
    if (IsPresent(FileProbe(MARKER_MODIFIED)) && IsPresent(FileProbe(MARKER_ORIGINAL)) &&
        IsPresent(FileProbe(FILES_TXT))) {
        AddFailedFile(failed, MARKER_ORIGINAL, FailureReason::StrayMarker);
        AddFailedFile(failed, MARKER_MODIFIED, FailureReason::StrayMarker);
    }
}

void ListTakenSetupNames(FailedFiles* failed) {
    if (IsPresent(FileProbe(MARKER_MODIFIED)) && IsPresent(FileProbe(SETUP_FILE_1)))
        AddFailedFile(failed, MARKER_MODIFIED, FailureReason::Exists, SETUP_FILE_1);
    if (IsPresent(FileProbe(FILELIST_PAK_MODIFIED)) && IsPresent(FileProbe(SETUP_FILE_2)))
        AddFailedFile(failed, FILELIST_PAK_MODIFIED, FailureReason::Exists, SETUP_FILE_2);
}

void ListParkedOriginals(FailedFiles* failed) {
    char parked[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        if (IsPresent(FileProbe(ParkedPath(row.livePath, PREFIX_ORIGINAL, parked))))
            AddFailedFile(failed, row.livePath, FailureReason::StillParked, parked);
    }
}
