#include "app/program.h"

#include "app/composed_message.h"
#include "app/texts.h"
#include "fileset/bulk_operations.h"
#include "fileset/file_primitives.h"
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
static const char INCOMPLETE[] =
    "Die Deinstallation konnte nicht vollst\xE4ndig abgeschlossen werden!";
static const char UNINSTALL_AGAIN[] =
    "Danach k\xF6nnen Sie erneut deinstallieren; was schon erledigt ist, bleibt es.";
static const char STRAY_MODIFIED_MARKER[] =
    "Die Dateien des MODIFIZIERTEN Satzes sind aktiv: MOD!files.txt geh\xF6rt nicht dorthin. "
    "Verschieben Sie MOD!files.txt aus dem Spielverzeichnis an einen sicheren Ort "
    "(l\xF6schen Sie sie nicht) und starten Sie Tauschwerk dann erneut.";
static const char STRAY_ORIGINAL_MARKER[] =
    "Die ORIGINALE sind aktiv: ORI!files.txt geh\xF6rt nicht dorthin. Verschieben Sie "
    "ORI!files.txt aus dem Spielverzeichnis an einen sicheren Ort (l\xF6schen Sie sie nicht) "
    "und starten Sie Tauschwerk dann erneut.";
static const char STRAY_MARKER_UNDECIDED[] =
    "Welche Markierung nicht dorthin geh\xF6rt, ist an den Dateien nicht zu erkennen. "
    "Kopieren Sie files.txt, ORI!files.txt und MOD!files.txt in einen Ordner au\xDF"
    "erhalb des Spielverzeichnisses, verschieben Sie dann die Markierung, deren Inhalt nicht "
    "zu den aktiven Dateien passt, ebenfalls dorthin und starten Sie Tauschwerk erneut.";

// Judged by names alone, over the rows that hold exactly one parked copy: the live set is
// the one whose copies are not parked.
static const char* StrayMarkerAdvice() {
    char parked[PARKED_PATH_SIZE];
    bool originalsParked = false;
    bool modifiedParked = false;
    for (const ManagedFile& row : ManagedFileTable) {
        if (row.switchOnly)
            continue;
        bool original = IsPresent(FileProbe(ParkedPath(row.livePath, PREFIX_ORIGINAL, parked)));
        bool modified = IsPresent(FileProbe(ParkedPath(row.livePath, PREFIX_MODIFIED, parked)));
        originalsParked = originalsParked || (original && !modified);
        modifiedParked = modifiedParked || (modified && !original);
    }
    if (originalsParked == modifiedParked)
        return STRAY_MARKER_UNDECIDED;
    return originalsParked ? STRAY_MODIFIED_MARKER : STRAY_ORIGINAL_MARKER;
}

// Brings every original live that can come, and lists what stands in the way.
static void BringOriginalsLive(FailedFiles* failed) {
    // Installed with the modified set live, or a switch that did not finish (both markers
    // beside a live files.txt were refused before).
    if (IsPresent(FileProbe(MARKER_ORIGINAL)))
        RestoreOriginals(failed);
    else
        BringParkedOriginalsLive(failed);
    // Where rows stopped, the originals they hold back are parked as they should be.
    if (failed->count == 0)
        ListParkedOriginals(failed);
}

void Uninstall() {
    if (ShowLines(TITLE_UNINSTALL, QUESTION_LINES, STYLE_WARNING_QUESTION) != ANSWER_OK) {
        (void)ShowMessage(PROGRAM_NAME, DECLINED, STYLE_PLAIN);
        return;
    }
    StartRetryBudget();

    FailedFiles failed;
    ClearFailedFiles(&failed);
    ListStrayMarkers(&failed);
    if (failed.count > 0) {
        ShowFailureReport(ABORTED, &failed, StrayMarkerAdvice());
        return;
    }
    ListTakenSetupNames(&failed);
    if (failed.count == 0)
        BringOriginalsLive(&failed);
    if (failed.count > 0) {
        (void)ScanStatus();
        ShowFailureReport(ABORTED, &failed, UNINSTALL_AGAIN);
        return;
    }

    RemoveModifiedSet(&failed);
    // The markers change last, and only once everything else is done: until then
    // MOD!files.txt still marks the directory as installed, and the uninstallation can be
    // run again.
    if (failed.count == 0)
        (void)RenameNoted(&failed, FILELIST_PAK_MODIFIED, SETUP_FILE_2);
    if (failed.count == 0)
        (void)RenameNoted(&failed, MARKER_MODIFIED, SETUP_FILE_1);
    if (failed.count == 0)
        (void)ShowMessage(TITLE_UNINSTALL, SUCCESS, STYLE_INFO);
    else
        ShowFailureReport(INCOMPLETE, &failed, UNINSTALL_AGAIN);
    EndProgram();
}
