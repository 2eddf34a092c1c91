#include "app/program.h"

#include "app/composed_message.h"
#include "app/texts.h"
#include "fileset/bulk_operations.h"
#include "fileset/file_primitives.h"
#include "fileset/file_table.h"
#include "fileset/file_state.h"
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
static const char INSTALL_INCOMPLETE[] =
    "Die Installation konnte nicht vollst\xE4ndig abgeschlossen werden!";
static const char INSTALL_ADVICE[] =
    "F\xFCr die genannten Dateien gibt es m\xF6glicherweise kein gesichertes Original: "
    "Bearbeiten Sie sie nicht! Schlie\xDF"
    "en Sie das Spiel und alle Programme, die diese Dateien benutzen, sorgen Sie f\xFC"
    "r Schreibrechte und freien Speicherplatz und sichern Sie diese Dateien selbst, "
    "bevor Sie umschalten oder deinstallieren.";

// A setup file that cannot even be looked at is as good as missing.
static bool IsSetupFilePresent(const char* name) {
    int probe = FileProbe(name);
    return IsPresent(probe) && probe != PROBE_UNREADABLE;
}

// Everything after the write test. The markers change last: cut short before, the
// directory still reads as not installed, and the next start offers the installation
// again, which redoes the copies.
static void PrepareDirectory(FailedFiles* failed) {
    RenameNoted(TEST_WRITE, FILES_TXT, failed);
    // Without its own name back, files.txt could not be parked: nothing more may move.
    if (failed->count > 0)
        return;
    BackupOriginals(failed);
    RenameNoted(FILELIST_PAK, FILELIST_PAK_ORIGINAL, failed);
    RenameNoted(SETUP_FILE_2, FILELIST_PAK, failed);
    RenameNoted(FILES_TXT, MARKER_ORIGINAL, failed);
    RenameNoted(SETUP_FILE_1, FILES_TXT, failed);
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
    if (!FileRename(FILES_TXT, TEST_WRITE)) {
        (void)ShowLines(TITLE_ERROR, WRITE_FAILED_LINES, STYLE_ERROR);
        return false;
    }

    FailedFiles failed;
    ClearFailedFiles(&failed);
    PrepareDirectory(&failed);
    if (failed.count == 0) {
        (void)ShowLines(TITLE_INFO, SUCCESS_LINES, STYLE_INFO);
        return true;
    }
    ShowFailureReport(INSTALL_INCOMPLETE, &failed, INSTALL_ADVICE);
    return IsFileSetInstalled();
}
