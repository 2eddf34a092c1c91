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

// The setup names take the modified files.txt and filelist.pak back last: a setup file
// lying there already (an archive unzipped again) would stop the uninstallation after the
// modified set is gone.
static void ListTakenSetupNames(FailedFiles* failed) {
    if (IsPresent(FileProbe(MARKER_MODIFIED)) && IsPresent(FileProbe(SETUP_FILE_1)))
        AddFailedFile(failed, MARKER_MODIFIED, FileFailure::Exists, SETUP_FILE_1);
    if (IsPresent(FileProbe(FILELIST_PAK_MODIFIED)) && IsPresent(FileProbe(SETUP_FILE_2)))
        AddFailedFile(failed, FILELIST_PAK_MODIFIED, FileFailure::Exists, SETUP_FILE_2);
}

// Rows whose original is still parked: uninstalling now would later let the next
// installation take the live modified file for the original.
static void ListParkedOriginals(FailedFiles* failed) {
    char parked[PARKED_PATH_SIZE];
    for (const ManagedFile& row : ManagedFileTable) {
        if (IsPresent(FileProbe(ParkedPath(row.livePath, PREFIX_ORIGINAL, parked))))
            AddFailedFile(failed, row.livePath, FileFailure::StillParked, parked);
    }
}

// Brings every original live that can come, and lists what stands in the way.
static void BringOriginalsLive(bool modifiedParked, FailedFiles* failed) {
    // Installed with the modified set live, or a switch that did not finish.
    if (IsPresent(FileProbe(MARKER_ORIGINAL)) &&
        (!modifiedParked || !IsPresent(FileProbe(FILES_TXT))))
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
    // Both markers beside a live files.txt: which set is live is not known, and any rename
    // could park an original where the removal deletes it.
    bool modifiedParked = IsPresent(FileProbe(MARKER_MODIFIED));
    if (modifiedParked && IsPresent(FileProbe(MARKER_ORIGINAL)) &&
        IsPresent(FileProbe(FILES_TXT))) {
        AddFailedFile(&failed, MARKER_ORIGINAL, FileFailure::StrayMarker);
        AddFailedFile(&failed, MARKER_MODIFIED, FileFailure::StrayMarker);
        ShowFailureReport(ABORTED, &failed, StrayMarkerAdvice());
        return;
    }
    ListTakenSetupNames(&failed);
    if (failed.count == 0)
        BringOriginalsLive(modifiedParked, &failed);
    if (failed.count > 0) {
        ShowFailureReport(ABORTED, &failed, UNINSTALL_AGAIN);
        ScanStatus();
        return;
    }

    RemoveModifiedSet(&failed);
    // The markers change last, and only once everything else is done: until then
    // MOD!files.txt still marks the directory as installed, and the uninstallation can be
    // run again.
    if (failed.count == 0)
        RenameNoted(FILELIST_PAK_MODIFIED, SETUP_FILE_2, &failed);
    if (failed.count == 0)
        RenameNoted(MARKER_MODIFIED, SETUP_FILE_1, &failed);
    if (failed.count == 0)
        (void)ShowMessage(TITLE_UNINSTALL, SUCCESS, STYLE_INFO);
    else
        ShowFailureReport(INCOMPLETE, &failed, UNINSTALL_AGAIN);
    EndProgram();
}
