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
static const char STRAY_MARKER_ADVICE[] =
    "Neben files.txt darf nur eine dieser beiden Markierungen im Spielverzeichnis liegen: "
    "Eine von ihnen geh\xF6rt nicht dorthin und muss von Hand entfernt werden.";
static const char INCOMPLETE_ADVICE[] =
    "Jede Datei im Spielverzeichnis, die noch MOD!... hei\xDF"
    "t, wurde behalten: Zu ihr war kein Original gesichert, oder sie konnte nicht "
    "gel\xF6scht werden. Schlie\xDF"
    "en Sie alle Programme, die sie benutzen, und benennen Sie sie von Hand in ihren eigenen "
    "Namen (ohne MOD!) um, wenn das Spiel sie braucht, oder l\xF6schen Sie sie.";

// Rows whose original is still parked: uninstalling now would later let the next
// installation take the live modified file for the original.
static void AddParkedOriginals(FailedFiles* failed) {
    char parked[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        ParkedPath(row.livePath, PREFIX_ORIGINAL, parked);
        if (IsPresent(FileProbe(parked)))
            AddFailedFile(failed, row.livePath, FileFailure::StillParked);
    }
}

// Brings the originals live and lists what stands in the way; false, with nothing
// renamed, when a stray marker leaves the state unclear.
static bool BringOriginalsLive(FailedFiles* failed) {
    bool modifiedParked = IsPresent(FileProbe(MARKER_MODIFIED));
    bool bothMarkers = modifiedParked && IsPresent(FileProbe(MARKER_ORIGINAL));
    // A switch cut short in its second phase has not yet brought files.txt live.
    if (bothMarkers && IsPresent(FileProbe(FILES_TXT))) {
        AddFailedFile(failed, MARKER_ORIGINAL, FileFailure::StrayMarker);
        AddFailedFile(failed, MARKER_MODIFIED, FileFailure::StrayMarker);
        return false;
    }
    // Switching back never replaces a file, so it also completes a switch cut short.
    if (!modifiedParked || bothMarkers)
        SwitchToOriginal(failed);
    AddParkedOriginals(failed);
    return true;
}

void Uninstall() {
    if (ShowLines(TITLE_UNINSTALL, QUESTION_LINES, STYLE_WARNING_QUESTION) != ANSWER_OK) {
        (void)ShowMessage(PROGRAM_NAME, DECLINED, STYLE_PLAIN);
        return;
    }
    StartRetryBudget();

    FailedFiles failed;
    ClearFailedFiles(&failed);
    if (!BringOriginalsLive(&failed)) {
        ShowFailureReport(ABORTED, &failed, STRAY_MARKER_ADVICE);
        return;
    }
    if (failed.count > 0) {
        ShowFailureReport(ABORTED, &failed, ABORTED_ADVICE);
        ScanStatus();
        return;
    }

    RemoveModifiedSet(&failed);
    // The markers change last: cut short before, MOD!files.txt still marks the state and
    // the next start lets the player uninstall again.
    RenameNoted(FILELIST_PAK_MODIFIED, SETUP_FILE_2, &failed);
    RenameNoted(MARKER_MODIFIED, SETUP_FILE_1, &failed);
    if (failed.count == 0)
        (void)ShowMessage(TITLE_UNINSTALL, SUCCESS, STYLE_INFO);
    else
        ShowFailureReport(INCOMPLETE, &failed, INCOMPLETE_ADVICE);
    EndProgram();
}
