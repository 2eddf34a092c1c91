#include "app/program.h"

#include <windows.h>

// Every way out of the program, error paths included, reports success to its caller.
static const UINT EXIT_CODE = 0;

void EndProcess() {
    ExitProcess(EXIT_CODE);
}
