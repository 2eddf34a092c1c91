#include "fileset/bulk_operations.h"
#include "fileset/file_table.h"

#include <cstring>

// files.txt is parked before every other row and brought live after all of them, so that
// both markers lie on disk from the first rename of a switch to its last: cut short
// anywhere, or stopped by a file that will not move, the directory reads as a switch not
// finished, never as a set that is only partly live. The next start finishes it toward the
// originals.

static bool IsMarkerRow(const ManagedFile& row) {
    return std::strcmp(row.livePath, FILES_TXT) == 0;
}

// Phase 1 for every row but files.txt.
static void ParkLiveFiles(FailedFiles* failed, const char* parkPrefix) {
    char parked[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        if (IsMarkerRow(row))
            continue;
        ParkedPath(row.livePath, parkPrefix, parked);
        NoteParkAnswer(failed, row.livePath, FileRename(row.livePath, parked), parked);
    }
}

// Phase 2 for every row but files.txt.
static void BringParkedFiles(FailedFiles* failed, const char* parkPrefix, const char* bringPrefix) {
    char brought[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        if (IsMarkerRow(row))
            continue;
        ParkedPath(row.livePath, bringPrefix, brought);
        NoteBringAnswer(failed, row.livePath, FileRename(brought, row.livePath), brought,
                        parkPrefix);
    }
}

// Looks at every row before the first rename: a copy where a live file would go, or a name
// that is no plain file, and nothing moves at all.
static void SwitchFileSet(FailedFiles* failed, const char* parkPrefix, const char* bringPrefix) {
    static Survey survey;
    SurveyManagedNames(&survey);
    ListSwitchObstacles(failed, survey, parkPrefix, bringPrefix);
    if (failed->count > 0)
        return;
    char marker[PARKED_PATH_SIZE];
    ParkedPath(FILES_TXT, parkPrefix, marker);
    if (!NoteMarkerAnswer(failed, FileRename(FILES_TXT, marker), marker))
        return;
    int failedBefore = failed->count;
    ParkLiveFiles(failed, parkPrefix);
    BringParkedFiles(failed, parkPrefix, bringPrefix);
    if (failed->count != failedBefore)
        return;
    ParkedPath(FILES_TXT, bringPrefix, marker);
    NoteAnswer(failed, FILES_TXT, FileRename(marker, FILES_TXT), marker, FILES_TXT);
}

void SwitchToModified(FailedFiles* failed) {
    SwitchFileSet(failed, PREFIX_ORIGINAL, PREFIX_MODIFIED);
}

void SwitchToOriginal(FailedFiles* failed) {
    SwitchFileSet(failed, PREFIX_MODIFIED, PREFIX_ORIGINAL);
}

bool FinishParksLive(const RowNames& row) {
    return row.live.kind == NameKind::File && row.original.kind == NameKind::File &&
           !IsPresent(row.modified);
}

// What finishing does with a row, judged by its names alone.
enum class Finish { Nothing, BringOriginal, ParkAndBring };

static Finish FinishOf(const RowNames& row) {
    if (FinishParksLive(row))
        return Finish::ParkAndBring;
    if (!IsPresent(row.live) && IsPresent(row.original))
        return Finish::BringOriginal;
    return Finish::Nothing;
}

// Lists why row cannot be finished by renames of files to absent names alone. A row without
// an ORI! copy stays as it is, whatever it holds.
static void ListFinishObstacles(FailedFiles* failed, const RowNames& row, const char* live) {
    if (!IsPresent(row.original))
        return;
    char original[PARKED_PATH_SIZE];
    bool unusable = ListUnusableName(failed, live, row.live);
    if (ListUnusableName(failed, ParkedPath(live, PREFIX_ORIGINAL, original), row.original) ||
        unusable)
        return;
    if (IsPresent(row.live) && !FinishParksLive(row))
        AddFailedFile(failed, live, FailureReason::ThreeFiles);
}

void FinishSwitchTowardOriginals(FailedFiles* failed) {
    static Survey survey;
    SurveyManagedNames(&survey);
    for (int i = 0; i < MANAGED_FILE_COUNT; ++i) {
        if (IsMarkerRow(ManagedFileTable[i]))
            (void)ListUnusableName(failed, MARKER_ORIGINAL, survey.rows[i].original);
        else
            ListFinishObstacles(failed, survey.rows[i], ManagedFileTable[i].livePath);
    }
    if (failed->count > 0)
        return;
    char original[PARKED_PATH_SIZE];
    char modified[PARKED_PATH_SIZE];
    for (int i = 0; i < MANAGED_FILE_COUNT; ++i) {
        const char* live = ManagedFileTable[i].livePath;
        Finish finish =
            IsMarkerRow(ManagedFileTable[i]) ? Finish::Nothing : FinishOf(survey.rows[i]);
        ParkedPath(live, PREFIX_ORIGINAL, original);
        ParkedPath(live, PREFIX_MODIFIED, modified);
        if (finish == Finish::ParkAndBring && !RenameNoted(failed, live, modified))
            continue;
        if (finish != Finish::Nothing)
            (void)RenameNoted(failed, original, live);
    }
    if (failed->count == 0)
        (void)StepRenamed(failed, MARKER_ORIGINAL, FILES_TXT);
}

void BringParkedOriginalsLive(FailedFiles* failed) {
    BringParkedFiles(failed, nullptr, PREFIX_ORIGINAL);
}
