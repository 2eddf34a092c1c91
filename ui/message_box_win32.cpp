#include "ui/message.h"

#include <windows.h>

int ShowMessage(const char* title, const char* text, unsigned style) {
    // Owned by whatever is in the foreground, so the box is modal to the main window
    // whenever that window is in front.
    return MessageBoxA(GetForegroundWindow(), text, title, style);
}
