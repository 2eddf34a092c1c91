#include "app/program.h"

#include "app/composed_message.h"
#include "app/texts.h"
#include "fileset/bulk_operations.h"
#include "fileset/file_primitives.h"
#include "fileset/file_table.h"
#include "fileset/name_survey.h"
#include "ui/message.h"

static const char* const QUESTION_LINES[] = {
    "Sind Sie sich sicher, dass Sie dieses Programm deinstallieren wollen?",
    "",
    "Alle MODs gehen verloren und es verbleiben nur noch Originale!",
};
static const char DECLINED[] = "Gute Entscheidung  ;-)";
static const char SUCCESS[] = "Deinstallation wurde erfolgreich abgeschlossen!";

static const char ABORTED[] = "Die Deinstallation wurde abgebrochen!";
static const char INCOMPLETE[] =
    "Die Deinstallation konnte nicht vollst\xE4ndig abgeschlossen werden!";
static const char UNINSTALL_AGAIN[] =
    "Danach k\xF6nnen Sie erneut deinstallieren; was schon erledigt ist, bleibt es.";
// Every name the uninstallation renames or deletes must be a plain file or absent, and every
// setup name it fills free, before anything moves.
static void ListObstacles(FailedFiles* failed, LiveParking parking) {
    static Survey survey;
    SurveyManagedNames(&survey);
    char parked[PARKED_PATH_SIZE];
    for (int i = 0; i < MANAGED_FILE_COUNT; ++i) {
        const char* live = ManagedFileTable[i].livePath;
        const RowNames& row = survey.rows[i];
        (void)ListUnusableName(failed, live, row.live);
        (void)ListUnusableName(failed, ParkedPath(live, PREFIX_ORIGINAL, parked), row.original);
        (void)ListUnusableName(failed, ParkedPath(live, PREFIX_MODIFIED, parked), row.modified);
    }
    ListTakenSetupNames(failed, survey, parking);
}

// Brings every original live, or lists what stands in the way, and then parks the original
// files.txt as the sign that the modified set is being removed. True when the removal may
// begin.
static bool PrepareRemoval(FailedFiles* failed) {
    bool unfinished = IsPresent(FileProbe(MARKER_UNINSTALLING));
    bool modifiedLive = IsPresent(FileProbe(MARKER_ORIGINAL));
    bool cutShort = modifiedLive && !IsPresent(FileProbe(FILES_TXT));
    LiveParking parking = unfinished     ? LiveParking::None
                          : cutShort     ? LiveParking::WhereOriginalParked
                          : modifiedLive ? LiveParking::Every
                                         : LiveParking::None;
    ListObstacles(failed, parking);
    if (failed->count > 0)
        return false;
    if (parking == LiveParking::Every)
        SwitchToOriginal(failed);
    else if (parking == LiveParking::WhereOriginalParked)
        FinishSwitchTowardOriginals(failed);
    else
        BringParkedOriginalsLive(failed);
    // Where rows stopped, the originals they hold back are parked as they should be.
    if (failed->count == 0)
        ListParkedOriginals(failed);
    if (failed->count == 0 && !unfinished)
        (void)StepRenamed(failed, FILES_TXT, MARKER_UNINSTALLING);
    return failed->count == 0;
}

void Uninstall() {
    if (ShowLines(TITLE_UNINSTALL, QUESTION_LINES, STYLE_WARNING_QUESTION) != ANSWER_OK) {
        (void)ShowMessage(PROGRAM_NAME, DECLINED, STYLE_PLAIN);
        return;
    }
    StartRetryBudget();

    if (ReportStrayMarkers(ABORTED))
        return;
    FailedFiles failed;
    ClearFailedFiles(&failed);
    if (!PrepareRemoval(&failed)) {
        (void)ScanStatus();
        ShowFailureReport(ABORTED, &failed, UNINSTALL_AGAIN);
        return;
    }

    // From here until the last rename the directory reads as an uninstallation not
    // finished, and running it again finishes it.
    RemoveModifiedSet(&failed);
    if (failed.count == 0)
        (void)RenameNoted(&failed, FILELIST_PAK_MODIFIED, SETUP_FILE_2);
    if (failed.count == 0)
        (void)RenameNoted(&failed, MARKER_MODIFIED, SETUP_FILE_1);
    if (failed.count == 0)
        (void)StepRenamed(&failed, MARKER_UNINSTALLING, FILES_TXT);
    if (failed.count == 0)
        (void)ShowMessage(TITLE_UNINSTALL, SUCCESS, STYLE_INFO);
    else
        ShowFailureReport(INCOMPLETE, &failed, UNINSTALL_AGAIN);
    EndProgram();
}
