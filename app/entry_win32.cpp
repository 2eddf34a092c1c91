#include <windows.h>

#include "heap/private_heap.h"
#include "app/program.h"
#include "fileset/program_directory_win32.h"
#include "ui/message.h"
#include "ui/window.h"

// The command line and the show state are not used: the program only ever works in the
// directory it stands in.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (!CreatePrivateHeap())
        EndProcess();
    // Without its own directory the program would work on whatever directory it was
    // started from: it touches nothing then.
    bool located = LocateProgramDirectory();
    InitControlLayer();
    InitWindowLayer();
    if (!InitMessageText())
        EndProgram();
    if (!located)
        ShowGameDirectoryError();
    if (!LockGameDirectory())
        ShowAlreadyRunning();
    MakeStartDecision();
}
