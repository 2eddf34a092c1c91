#include "app/program.h"

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

void MakeStartDecision() {
    // Nothing starts from what a failed repair leaves but the main window, whose caption
    // tells the state.
    bool repaired = RepairInterruptedWork();
    if (IsFileSetInstalled())
        RunMainWindow();
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
