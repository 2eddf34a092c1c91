#include "app/program.h"

#include "app/composed_message.h"
#include "app/texts.h"
#include "fileset/file_primitives.h"
#include "fileset/file_table.h"
#include "fileset/file_state.h"
#include "ui/message.h"

static const char TEXT_NOT_IN_GAME_DIRECTORY[] =
    "Diese Anwendung muss sich im Spiel-Verzeichnis von GTA IV befinden!";
static const char TEXT_ALREADY_RUNNING[] =
    "Tauschwerk l\xE4uft in diesem Verzeichnis bereits.\n\n"
    "Das andere Tauschwerk arbeitet vielleicht gerade ohne Fenster (w\xE4hrend der "
    "Installation). Warten Sie, bis es fertig ist, oder beenden Sie es; starten Sie "
    "Tauschwerk dann erneut.";

static const char* const UNINSTALL_UNFINISHED_LINES[] = {
    "Die Deinstallation wurde nicht abgeschlossen!",
    "",
    "Die Originale sind aktiv, aber ein Teil der modifizierten Dateien ist schon gel\xF6scht. "
    "Klicken Sie auf \"Deinstallation\", um die Deinstallation abzuschlie\xDF"
    "en.",
};
static const char UNDECIDED[] = "Tauschwerk kann nicht erkennen, welche Dateien aktiv sind!";
static const char START_AGAIN[] = "Starten Sie Tauschwerk danach erneut.";

// The state button then reads "!! KRITISCHER FEHLER !!": a start that no repair could settle
// says why, so that the caption is never the player's only clue.
static void TellUnsettledState() {
    if (QueryFileSetState() == FileSetState::Unfinished) {
        (void)ShowLines(TITLE_ERROR, UNINSTALL_UNFINISHED_LINES, STYLE_ERROR);
        return;
    }
    if (ReportStrayMarkers(UNDECIDED))
        return;
    // A marker beside no files.txt that no setup file could fill.
    if (!IsPresent(FileProbe(FILES_TXT))) {
        FailedFiles failed;
        ClearFailedFiles(&failed);
        AddFailedFile(&failed, FILES_TXT, FailureReason::Missing);
        ShowFailureReport(UNDECIDED, &failed, START_AGAIN);
    }
}

void MakeStartDecision() {
    // Nothing starts from what a failed repair leaves but the main window, whose caption
    // tells the state.
    bool repaired = RepairInterruptedWork();
    if (IsFileSetInstalled()) {
        if (repaired)
            TellUnsettledState();
        RunMainWindow();
    }
    if (!repaired)
        EndProgram();
    // files.txt is the only sign that the program stands in the game directory.
    if (IsPresent(FileProbe(FILES_TXT))) {
        if (RunFirstInstallation())
            RunMainWindow();
        EndProgram();
    }
    ShowGameDirectoryError();
}

void ShowGameDirectoryError() {
    (void)ShowMessage(TITLE_ERROR, TEXT_NOT_IN_GAME_DIRECTORY, STYLE_ERROR);
    EndProgram();
}

void ShowAlreadyRunning() {
    (void)ShowMessage(TITLE_INFO, TEXT_ALREADY_RUNNING, STYLE_INFO);
    EndProgram();
}
