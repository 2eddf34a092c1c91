#include "ui/message.h"
#include "ui/message_box_platform.h"

#include <windows.h>

static_assert(STYLE_PLAIN == MB_OK && STYLE_ERROR == (MB_OK | MB_ICONERROR) &&
                  STYLE_WARNING_QUESTION == (MB_OKCANCEL | MB_ICONEXCLAMATION) &&
                  STYLE_INFO == (MB_OK | MB_ICONINFORMATION) &&
                  STYLE_INFO_QUESTION == (MB_OKCANCEL | MB_ICONINFORMATION),
              "the portable styles are the platform's");
static_assert(ANSWER_OK == IDOK && ANSWER_CANCEL == IDCANCEL, "answers pass unchanged");

// The foreground window when it is one of this program's, else nullptr. A box owned by
// another program's window would disable that window, for good if this program is killed
// meanwhile, and would join the two programs' input.
static HWND OwnForegroundWindow() {
    HWND window = GetForegroundWindow();
    DWORD process = 0;
    bool own = window != nullptr && GetWindowThreadProcessId(window, &process) != 0 &&
               process == GetCurrentProcessId();
    return own ? window : nullptr;
}

int PlatformMessageBox(const char* title, const char* text, unsigned style, bool owned) {
    // Owned by the main window whenever that is in front, so that the box is modal to it.
    HWND owner = owned ? OwnForegroundWindow() : nullptr;
    // Without an owner the box still keeps the program's own windows from input and comes to
    // the front, instead of opening behind another program's window.
    if (owner == nullptr)
        style |= MB_TASKMODAL | MB_SETFOREGROUND;
    return MessageBoxA(owner, text, title, style);
}
