#include "app/program.h"

#include "app/private_heap.h"
#include "ui/window.h"

void EndProgram() {
    CloseAllWindows();
    ReleasePrivateHeap();
    EndProcess();
}
