#include "app/program.h"

#include "app/texts.h"
#include "fileset/file_primitives.h"
#include "fileset/file_table.h"
#include "fileset/file_state.h"
#include "ui/message.h"

static const char TEXT_NOT_IN_GAME_DIRECTORY[] =
    "Diese Anwendung muss sich im Spiel-Verzeichnis von GTA IV befinden!";

void MakeStartDecision() {
    if (IsFileSetInstalled())
        RunMainWindow();
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
