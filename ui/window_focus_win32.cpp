#include "ui/window_state_win32.h"

namespace {

// One walk over the active window's children in EnumChildWindows order.
struct FocusWalk {
    HWND focused; // the focused child of the active window, or 0
    HWND first;   // first eligible control
    HWND last;    // latest eligible control visited
    HWND target;  // where the focus goes; the walk stops once it is set
    bool passedFocused;
};

bool IsEligible(HWND control) {
    return IsWindowEnabled(control) && IsWindowVisible(control) &&
           (GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) != 0;
}

BOOL CALLBACK VisitNext(HWND child, LPARAM data) {
    FocusWalk* walk = reinterpret_cast<FocusWalk*>(data);
    bool eligible = IsEligible(child);
    if (eligible && walk->first == nullptr)
        walk->first = child;
    if (eligible && (walk->focused == nullptr || walk->passedFocused)) {
        walk->target = child;
        return FALSE;
    }
    // Marked even when not eligible itself (disabled while it held the focus), so Tab
    // still moves on from where the focus was.
    if (child == walk->focused)
        walk->passedFocused = true;
    return TRUE;
}

BOOL CALLBACK VisitPrevious(HWND child, LPARAM data) {
    FocusWalk* walk = reinterpret_cast<FocusWalk*>(data);
    if (!IsEligible(child))
        return TRUE;
    if (child == walk->focused && walk->last != nullptr) {
        walk->target = walk->last;
        return FALSE;
    }
    walk->last = child;
    return TRUE;
}

// Starts a walk over the active window; false when no window is active.
bool BeginWalk(FocusWalk* walk, HWND* active) {
    *walk = {};
    *active = GetActiveWindow();
    if (*active == nullptr)
        return false;
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(*active, focus))
        walk->focused = focus;
    return true;
}

void Focus(HWND control) {
    if (control != nullptr)
        (void)SetFocus(control);
}

} // namespace

void FocusNextControl() {
    FocusWalk walk;
    HWND active;
    if (!BeginWalk(&walk, &active))
        return;
    // Stopping early makes EnumChildWindows answer FALSE; that is no failure here.
    (void)EnumChildWindows(active, VisitNext, reinterpret_cast<LPARAM>(&walk));
    Focus(walk.target != nullptr ? walk.target : walk.first);
}

void FocusPreviousControl() {
    FocusWalk walk;
    HWND active;
    if (!BeginWalk(&walk, &active))
        return;
    (void)EnumChildWindows(active, VisitPrevious, reinterpret_cast<LPARAM>(&walk));
    Focus(walk.target != nullptr ? walk.target : walk.last);
}
