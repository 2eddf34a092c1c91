#include "ui/window.h"

#include "ui/window_state_win32.h"

static_assert(EVENT_CLOSE == WM_CLOSE && EVENT_SIZE == WM_SIZE,
              "the layer reports these messages under their own numbers");

namespace {

// WM_COMMAND's high word for a keyboard-table command.
constexpr WORD COMMAND_FROM_KEYS = 1;

LRESULT OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam != 0) {
        // Any notification of a control counts, not only BN_CLICKED.
        Layer.pendingEvent = EVENT_CONTROL;
        Layer.eventControlNumber = LOWORD(wParam);
        return 0;
    }
    WORD command = LOWORD(wParam);
    if (HIWORD(wParam) == COMMAND_FROM_KEYS && command == COMMAND_FOCUS_NEXT)
        FocusNextControl();
    else if (HIWORD(wParam) == COMMAND_FROM_KEYS && command == COMMAND_FOCUS_PREVIOUS)
        FocusPreviousControl();
    else
        Layer.pendingEvent = EVENT_MENU;
    return 0;
}

LRESULT OnSize(HWND window, WPARAM wParam, LPARAM lParam) {
    // Reported later, by the wait that retrieves this message, not in the middle of creation.
    // The program ignores size events, so one lost to a full queue costs nothing.
    (void)PostMessageA(window, MESSAGE_SIZE_CHANGED, wParam, lParam);
    return 0;
}

// The active window's keyboard table, or 0 when it is none of the layer's windows.
HACCEL ActiveKeyTable(HWND* active) {
    *active = GetActiveWindow();
    if (*active == nullptr)
        return nullptr;
    for (int n = 0; n < Layer.windowCapacity; ++n)
        if (Layer.windows[n].handle == *active)
            return Layer.windows[n].keyTable;
    return nullptr;
}

} // namespace

LRESULT CALLBACK LayerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_CLOSE:
        // The window stays; the program decides what a close request means.
        Layer.pendingEvent = EVENT_CLOSE;
        return 0;
    case WM_SIZE:
        return OnSize(window, wParam, lParam);
    case MESSAGE_SIZE_CHANGED:
        Layer.pendingEvent = EVENT_SIZE;
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int WaitEvent() {
    MSG* message = &Layer.lastMessage;
    // Without a window filter this fails only on a broken queue; the cleared record then
    // dispatches nothing.
    *message = {};
    (void)GetMessageA(message, nullptr, 0, 0);
    HWND active = nullptr;
    HACCEL keys = ActiveKeyTable(&active);
    if (keys == nullptr || !TranslateAcceleratorA(active, keys, message)) {
        (void)TranslateMessage(message);
        (void)DispatchMessageA(message);
    }
    int result = Layer.pendingEvent != 0 ? Layer.pendingEvent : static_cast<int>(message->message);
    Layer.pendingEvent = 0;
    return result;
}

int EventControlNumber() {
    return Layer.eventControlNumber;
}
