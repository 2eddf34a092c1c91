#include "fileset/failure_policy.h"

#include <cstring>
#include <initializer_list>

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
    case FileFailure::Link:
        return FailureReason::Link;
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

bool StepRenamed(FailedFiles* failed, const char* source, const char* target) {
    FileFailure answer = FileRename(source, target);
    if (answer == FileFailure::Exists)
        AddFailedFile(failed, source, FailureReason::Exists, target);
    return StepDone(failed, source, answer);
}

bool RenameNoted(FailedFiles* failed, const char* source, const char* target) {
    FileFailure answer = FileRename(source, target);
    NoteAnswer(failed, source, answer, source, target);
    return answer == FileFailure::None;
}

// What a probe found, as a look; the reason of a name that cannot be looked at asked again.
static NameLook LookOf(const char* path, int probe) {
    switch (probe) {
    case PROBE_MISSING:
        return {NameKind::Absent, FileFailure::None};
    case PROBE_DIRECTORY:
        return {NameKind::Directory, FileFailure::None};
    case PROBE_LINK:
        return {NameKind::Link, FileFailure::None};
    case PROBE_UNREADABLE:
        return {NameKind::Unreadable, FileProbeFailure(path)};
    default:
        return {NameKind::File, FileFailure::None};
    }
}

void RepairRename(FailedFiles* failed, const char* source, const char* target) {
    NameLook from = LookOf(source, FileProbe(source));
    if (!IsPresent(from))
        return;
    NameLook to = LookOf(target, FileProbe(target));
    if (ListUnusableName(failed, target, to) || IsPresent(to) ||
        ListUnusableName(failed, source, from))
        return;
    (void)RenameNoted(failed, source, target);
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
        AddFailedFile(failed, live, FailureReason::Exists, parkedCopyThere ? blocking : live);
    }
}

bool NoteMarkerAnswer(FailedFiles* failed, FileFailure answer, const char* marker) {
    if (answer == FileFailure::None)
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

static bool SameAsLive(const char* live, const RowNames& row, const char* copy) {
    bool same = false;
    return row.live.kind == NameKind::File && FileCompare(live, copy, &same) == FileFailure::None &&
           same;
}

void ListInstallObstacles(FailedFiles* failed, const Survey& survey) {
    char original[PARKED_PATH_SIZE];
    char modified[PARKED_PATH_SIZE];
    for (int i = 0; i < MANAGED_FILE_COUNT; ++i) {
        const ManagedFile& file = ManagedFileTable[i];
        const RowNames& row = survey.rows[i];
        ParkedPath(file.livePath, PREFIX_ORIGINAL, original);
        ParkedPath(file.livePath, PREFIX_MODIFIED, modified);
        (void)ListUnusableName(failed, file.livePath, row.live);
        if (IsPresent(row.modified) && !ListUnusableName(failed, modified, row.modified))
            AddFailedFile(failed, modified, FailureReason::LeftOver);
        if (!IsPresent(row.original) || ListUnusableName(failed, original, row.original))
            continue;
        // The switch-only rows' originals are parked by a rename, which never replaces.
        if (file.switchOnly)
            AddFailedFile(failed, file.livePath, FailureReason::Exists, original);
        else if (!SameAsLive(file.livePath, row, original))
            AddFailedFile(failed, original, FailureReason::LeftOver);
    }
    for (const char* setup : {SETUP_FILE_1, SETUP_FILE_2}) {
        if (FileProbe(setup) == PROBE_LINK)
            AddFailedFile(failed, setup, FailureReason::Link);
    }
}

void ListStrayMarkers(FailedFiles* failed) {
    bool original = IsPresent(FileProbe(MARKER_ORIGINAL));
    if (original && IsPresent(FileProbe(MARKER_UNINSTALLING))) {
        AddFailedFile(failed, MARKER_ORIGINAL, FailureReason::StrayMarker);
    } else if (original && IsPresent(FileProbe(MARKER_MODIFIED)) &&
               IsPresent(FileProbe(FILES_TXT))) {
        AddFailedFile(failed, MARKER_ORIGINAL, FailureReason::StrayMarker);
        AddFailedFile(failed, MARKER_MODIFIED, FailureReason::StrayMarker);
    }
}

static const RowNames& RowOf(const Survey& survey, const char* livePath) {
    for (int i = 0; i < MANAGED_FILE_COUNT; ++i) {
        if (std::strcmp(ManagedFileTable[i].livePath, livePath) == 0)
            return survey.rows[i];
    }
    return survey.rows[MANAGED_FILE_COUNT - 1]; // every caller names a row of the table
}

// Where the modified file of row is, if it still has to go to setupName: parked, or live
// where parking takes it there.
static void ListTakenSetupName(FailedFiles* failed, const RowNames& row, const char* livePath,
                               const char* parkedPath, const char* setupName, LiveParking parking) {
    bool liveGoes = IsPresent(row.live) && (parking == LiveParking::Every ||
                                            (parking == LiveParking::WhereOriginalParked &&
                                             IsPresent(row.original) && !IsPresent(row.modified)));
    bool goes = IsPresent(row.modified) || liveGoes;
    if (goes && IsPresent(FileProbe(setupName)))
        AddFailedFile(failed, IsPresent(row.modified) ? parkedPath : livePath,
                      FailureReason::Exists, setupName);
}

void ListTakenSetupNames(FailedFiles* failed, const Survey& survey, LiveParking parking) {
    const RowNames& filesTxt = RowOf(survey, FILES_TXT);
    ListTakenSetupName(failed, filesTxt, FILES_TXT, MARKER_MODIFIED, SETUP_FILE_1, parking);
    ListTakenSetupName(failed, RowOf(survey, FILELIST_PAK), FILELIST_PAK, FILELIST_PAK_MODIFIED,
                       SETUP_FILE_2, parking);
    if (IsPresent(FileProbe(MARKER_UNINSTALLING)) && IsPresent(filesTxt.live))
        AddFailedFile(failed, MARKER_UNINSTALLING, FailureReason::Exists, FILES_TXT);
}

bool ListUnusableName(FailedFiles* failed, const char* path, const NameLook& look) {
    switch (look.kind) {
    case NameKind::Unreadable:
        AddFailedFile(failed, path, ReasonOf(look.reason));
        return true;
    case NameKind::Link:
        AddFailedFile(failed, path, FailureReason::Link);
        return true;
    case NameKind::Directory:
        AddFailedFile(failed, path, FailureReason::Directory);
        return true;
    case NameKind::Absent:
    case NameKind::File:
        break;
    }
    return false;
}

void ListSwitchObstacles(FailedFiles* failed, const Survey& survey, const char* parkPrefix,
                         const char* bringPrefix) {
    char parked[PARKED_PATH_SIZE];
    char brought[PARKED_PATH_SIZE];
    for (int i = 0; i < MANAGED_FILE_COUNT; ++i) {
        const char* live = ManagedFileTable[i].livePath;
        const RowNames& row = survey.rows[i];
        ParkedPath(live, parkPrefix, parked);
        ParkedPath(live, bringPrefix, brought);
        (void)ListUnusableName(failed, live, row.live);
        if (!ListUnusableName(failed, parked, NameUnder(row, parkPrefix)) &&
            IsPresent(NameUnder(row, parkPrefix)))
            AddFailedFile(failed, parked, FailureReason::InTheWay);
        (void)ListUnusableName(failed, brought, NameUnder(row, bringPrefix));
    }
    // The switch parks files.txt first and brings the other marker live last.
    const RowNames& filesTxt = RowOf(survey, FILES_TXT);
    if (!IsPresent(filesTxt.live))
        AddFailedFile(failed, FILES_TXT, FailureReason::Missing);
    if (!IsPresent(NameUnder(filesTxt, bringPrefix)))
        AddFailedFile(failed, ParkedPath(FILES_TXT, bringPrefix, brought), FailureReason::Missing);
}

void RemoveCopyIfUnchanged(FailedFiles* failed, const char* live, const char* copy) {
    bool same = false;
    if (FileCompare(live, copy, &same) != FileFailure::None || !same)
        AddFailedFile(failed, copy, FailureReason::CopyKept);
    else
        NoteAnswer(failed, copy, FileDelete(copy), copy, nullptr);
}

void ListParkedOriginals(FailedFiles* failed) {
    char parked[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        if (IsPresent(FileProbe(ParkedPath(row.livePath, PREFIX_ORIGINAL, parked))))
            AddFailedFile(failed, row.livePath, FailureReason::StillParked, parked);
    }
}
