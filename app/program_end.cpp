#include "app/program.h"

#include "heap/private_heap.h"
#include "ui/window.h"

void EndProgram() {
    CloseAllWindows();
    ReleasePrivateHeap();
    EndProcess();
}
