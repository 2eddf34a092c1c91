#include "ui/window.h"

#include <windows.h>

#include <commctrl.h>

#include "ui/message.h"
#include "ui/window_state_win32.h"

namespace {

constexpr int CONTROL_CAPACITY = 30;
constexpr int CONTROL_GROWTH = 30;
constexpr DWORD BUTTON_STYLE = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
// The longest caption read back, its terminating zero included.
constexpr unsigned CAPTION_LIMIT = 5000;

// The control's handle, or 0 for a number never created or beyond the table.
HWND ControlHandle(int n) {
    if (n < 0 || n >= Layer.controlCapacity)
        return nullptr;
    return Layer.controls[n].handle;
}

} // namespace

void InitControlLayer() {
    Layer.controls = nullptr;
    Layer.controlCapacity = 0;
    Layer.controlParent = nullptr;
    (void)GrowTable(reinterpret_cast<void**>(&Layer.controls), &Layer.controlCapacity,
                    CONTROL_CAPACITY, sizeof(ControlEntry));
    Layer.defaultFont = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    InitCommonControls();
}

void SetControlParent(WindowHandle parent) {
    Layer.controlParent = static_cast<HWND>(parent);
}

WindowHandle AddButton(int n, int x, int y, int width, int height, const char* caption,
                       unsigned long extraStyle) {
    if (n < 0)
        return nullptr;
    if (n >= Layer.controlCapacity &&
        !GrowTable(reinterpret_cast<void**>(&Layer.controls), &Layer.controlCapacity,
                   n + CONTROL_GROWTH, sizeof(ControlEntry)))
        return nullptr;
    // The number doubles as the control identifier that WM_COMMAND reports.
    HWND button = CreateWindowExA(
        0, "BUTTON", caption, BUTTON_STYLE | extraStyle, x, y, width, height, Layer.controlParent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(n)), Layer.instance, nullptr);
    Layer.controls[n] = {button, CONTROL_PUSH_BUTTON};
    if (button != nullptr)
        (void)SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(Layer.defaultFont), TRUE);
    return button;
}

void DisableControl(int n, int state) {
    HWND control = ControlHandle(n);
    if (control != nullptr)
        (void)EnableWindow(control, state == CONTROL_ENABLE);
}

void SetControlText(int n, const char* text) {
    HWND control = ControlHandle(n);
    if (control != nullptr)
        (void)SetWindowTextA(control, text);
}

void GetControlText(int n) {
    char* end = MessageTextEnd();
    unsigned room = MessageTextRoom();
    if (room == 0)
        return;
    unsigned limit = room < CAPTION_LIMIT ? room : CAPTION_LIMIT;
    HWND control = ControlHandle(n);
    int taken = 0;
    if (control != nullptr)
        taken = GetWindowTextA(control, end, static_cast<int>(limit));
    if (taken < 0)
        taken = 0;
    // Always terminate: a missing control reads as the empty text, not as stale bytes.
    end[taken] = 0;
    SetMessageTextEnd(end + taken);
}
