#include "ui/message.h"
#include "ui/message_box_platform.h"

#include <windows.h>

static_assert(STYLE_PLAIN == MB_OK && STYLE_ERROR == (MB_OK | MB_ICONERROR) &&
                  STYLE_WARNING_QUESTION == (MB_OKCANCEL | MB_ICONEXCLAMATION) &&
                  STYLE_INFO == (MB_OK | MB_ICONINFORMATION) &&
                  STYLE_INFO_QUESTION == (MB_OKCANCEL | MB_ICONINFORMATION),
              "the portable styles are the platform's");
static_assert(ANSWER_OK == IDOK && ANSWER_CANCEL == IDCANCEL, "answers pass unchanged");

int PlatformMessageBox(const char* title, const char* text, unsigned style, bool owned) {
    // Owned by whatever is in the foreground, so the box is modal to the main window
    // whenever that window is in front.
    return MessageBoxA(owned ? GetForegroundWindow() : nullptr, text, title, style);
}
