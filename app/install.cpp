#include "app/program.h"

#include "app/composed_message.h"
#include "app/texts.h"
#include "fileset/bulk_operations.h"
#include "fileset/file_primitives.h"
#include "fileset/file_table.h"
#include "fileset/name_survey.h"
#include "ui/message.h"

static const char* const CONSENT_LINES[] = {
    "Zur ersten Nutzung werden nun einige Einstellungen vorgenommen...",
    "",
    "Bitte stellen Sie sicher, dass alle Dateien im Spielverzeichnis Original sind,",
    "bevor sie mit der Installation fortfahren.",
};
static const char* const SETUP_MISSING_LINES[] = {
    "Es fehlen einige Dateien zur Installation!",
    "Bitte kopieren Sie alle Dateien aus dem ZIP-Ordner (''Tauschwerk'', ''Setup1'' & "
    "''Setup2'') in das Spielverzeichnis.",
};
static const char* const WRITE_FAILED_LINES[] = {
    "Es ist ein Fehler w\xE4hrend eines Schreibvorganges aufgetreten!",
    "Sie m\xFCssen diese Anwendung als Administrator ausf\xFChren (s. Kontextmen\xFC)!",
};
static const char* const SUCCESS_LINES[] = {
    "Installation wurde erfolgreich abgeschlossen!",
    "Sie k\xF6nnen nun Dateien bearbeiten und jederzeit auf Originale umschalten.",
    "",
    "WICHTIG: Bearbeiten Sie Dateien NUR im MODIFIZIERTEN Zustand!!",
};
static const char INSTALL_ABORTED[] = "Die Installation wurde abgebrochen!";
static const char INSTALL_AGAIN[] = "Danach k\xF6nnen Sie die Installation erneut starten.";
static const char NOT_STARTED[] = "Die Installation konnte nicht beginnen!";
static const char TEST_NAME_ADVICE[] =
    "TEST.WRITE ist die files.txt des Spiels unter einem Testnamen. Schlie\xDF"
    "en Sie die Programme, die sie benutzen, und starten Sie Tauschwerk erneut: Solange "
    "Setup1.Vornak und Setup2.Vornak im Spielverzeichnis liegen, gibt der Start ihr den Namen "
    "files.txt zur\xFC"
    "ck. Sonst benennen Sie TEST.WRITE von Hand in files.txt um.";
static const char INSTALL_UNFINISHED[] =
    "Die Installation konnte nicht vollst\xE4ndig abgeschlossen werden!";
static const char FINISHED_AT_START[] =
    "Die Originale sind gesichert. Starten Sie Tauschwerk danach erneut: Der Start schlie\xDF"
    "t die Installation ab.";
// The folder that the modified filelist.pak goes into once the marker says "installed".
static const char DATA_FOLDER[] = "pc\\data";

// A setup file that cannot even be looked at is as good as missing; a link is there, and
// refused with its name.
static bool IsSetupFilePresent(const char* name) {
    int probe = FileProbe(name);
    return IsFile(probe) || probe == PROBE_LINK;
}

// Every step before the marker must succeed; then the directory reads as installed, and what
// is missing after it (the setup files under their new names) a start fills in.
static bool SaveOriginals(FailedFiles* failed, BackupCopies* copies) {
    BackupOriginals(failed, copies);
    ListMissingFolder(failed, DATA_FOLDER);
    if (failed->count > 0)
        return false;
    // A filelist.pak that the game lacks is no failure, and nothing to bring back.
    bool listParked = RenameNoted(failed, FILELIST_PAK, FILELIST_PAK_ORIGINAL);
    if (failed->count > 0)
        return false;
    if (StepRenamed(failed, FILES_TXT, MARKER_ORIGINAL))
        return true;
    if (listParked)
        (void)RenameNoted(failed, FILELIST_PAK_ORIGINAL, FILELIST_PAK);
    return false;
}

// Fills the two live names from the setup files; never replaces a file.
void PutSetupFilesInPlace(FailedFiles* failed) {
    RepairRename(failed, SETUP_FILE_2, FILELIST_PAK);
    RepairRename(failed, SETUP_FILE_1, FILES_TXT);
}

bool RunFirstInstallation() {
    // Only an explicit OK changes the game directory; a box that could not be shown does not.
    if (ShowLines(TITLE_INSTALLATION, CONSENT_LINES, STYLE_INFO_QUESTION) != ANSWER_OK)
        return false;
    StartRetryBudget();
    if (!IsSetupFilePresent(SETUP_FILE_1) || !IsSetupFilePresent(SETUP_FILE_2)) {
        (void)ShowLines(TITLE_ERROR, SETUP_MISSING_LINES, STYLE_ERROR);
        return false;
    }
    FailedFiles failed;
    ClearFailedFiles(&failed);
    static Survey survey;
    SurveyManagedNames(&survey);
    ListInstallObstacles(&failed, survey);
    if (failed.count > 0) {
        ShowFailureReport(INSTALL_ABORTED, &failed, INSTALL_AGAIN);
        return false;
    }
    if (FileRename(FILES_TXT, TEST_WRITE) != FileFailure::None) {
        (void)ShowLines(TITLE_ERROR, WRITE_FAILED_LINES, STYLE_ERROR);
        return false;
    }
    // Without its own name back, files.txt could not be parked: nothing more may move.
    if (!StepRenamed(&failed, TEST_WRITE, FILES_TXT)) {
        ShowFailureReport(NOT_STARTED, &failed, TEST_NAME_ADVICE);
        return false;
    }
    static BackupCopies copies;
    if (!SaveOriginals(&failed, &copies)) {
        RemoveBackupCopies(&failed, copies);
        ShowFailureReport(INSTALL_ABORTED, &failed, INSTALL_AGAIN);
        return false;
    }
    PutSetupFilesInPlace(&failed);
    // The renames on the disk before the player is told that they are done.
    if (failed.count == 0)
        (void)StepDone(&failed, FILES_TXT, FlushGameDirectory());
    if (failed.count > 0) {
        ShowFailureReport(INSTALL_UNFINISHED, &failed, FINISHED_AT_START);
        return false;
    }
    (void)ShowLines(TITLE_INFO, SUCCESS_LINES, STYLE_INFO);
    return true;
}
