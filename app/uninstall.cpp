#include "app/program.h"

#include "app/composed_message.h"
#include "app/texts.h"
#include "fileset/bulk_operations.h"
#include "fileset/file_primitives.h"
#include "fileset/file_state.h"
#include "fileset/file_table.h"
#include "ui/message.h"

static const char* const QUESTION_LINES[] = {
    "Sind Sie sich sicher, dass Sie dieses Programm deinstallieren wollen?",
    "",
    "Alle MODs gehen verloren und es verbleiben nur noch Originale!",
};
static const char DECLINED[] = "Gute Entscheidung  ;-)";
static const char SUCCESS[] = "Deinstallation wurde erfolgreich abgeschlossen!";

static const char ABORTED[] = "Die Deinstallation wurde abgebrochen!";
static const char ABORTED_ADVICE[] =
    "Bitte schlie\xDF"
    "en Sie das Spiel und alle Programme, die diese Dateien benutzen, schalten Sie einmal "
    "hin und zur\xFC"
    "ck und deinstallieren Sie dann erneut.";
static const char INCOMPLETE[] =
    "Die Deinstallation konnte nicht vollst\xE4ndig abgeschlossen werden!";
static const char INCOMPLETE_ADVICE[] =
    "Die genannten Dateien liegen noch unter ihrem bisherigen Namen. Bitte schlie\xDF"
    "en Sie alle Programme, die sie benutzen, und benennen Sie sie von Hand um oder "
    "l\xF6schen Sie sie.";

// Rows whose original is still parked: uninstalling now would later let the next
// installation take the live modified file for the original.
static void AddParkedOriginals(FailedFiles* failed) {
    char parked[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        ParkedPath(row.livePath, PREFIX_ORIGINAL, parked);
        if (IsPresent(FileProbe(parked)))
            AddFailedFile(failed, row.livePath, FileFailure::None);
    }
}

void Uninstall() {
    if (ShowLines(TITLE_UNINSTALL, QUESTION_LINES, STYLE_WARNING_QUESTION) != ANSWER_OK) {
        (void)ShowMessage(PROGRAM_NAME, DECLINED, STYLE_PLAIN);
        return;
    }

    FailedFiles failed;
    ClearFailedFiles(&failed);
    if (!IsPresent(FileProbe(MARKER_MODIFIED))) {
        SwitchToOriginal(&failed);
        AddParkedOriginals(&failed);
    } else if (!IsPresent(FileProbe(MARKER_ORIGINAL))) {
        AddParkedOriginals(&failed);
    }
    // In the conflict state both markers stay as they are: removing the modified set is
    // the player's only way out of it, so it goes on.
    if (failed.count > 0) {
        ShowFailureReport(ABORTED, &failed, ABORTED_ADVICE);
        ScanStatus();
        return;
    }

    RenameNoted(MARKER_MODIFIED, SETUP_FILE_1, &failed);
    RenameNoted(FILELIST_PAK_MODIFIED, SETUP_FILE_2, &failed);
    RemoveModifiedSet(&failed);
    if (failed.count == 0)
        (void)ShowMessage(TITLE_UNINSTALL, SUCCESS, STYLE_INFO);
    else
        ShowFailureReport(INCOMPLETE, &failed, INCOMPLETE_ADVICE);
    EndProgram();
}
