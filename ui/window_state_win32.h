#pragma once

#include <windows.h>

// The process-wide state of the window and control layer.

struct WindowEntry {
    HWND handle; // 0 while the number has no open window
    int keyCount;
    ACCEL* keys;
    HACCEL keyTable;
};

enum ControlKind { CONTROL_NONE, CONTROL_PUSH_BUTTON };

struct ControlEntry {
    HWND handle;
    ControlKind kind;
};

struct WindowLayer {
    HINSTANCE instance;
    WNDCLASSA windowClass;
    WindowEntry* windows; // holds windowCapacity + TABLE_SPARE entries
    int windowCapacity;
    HWND currentWindow;

    ControlEntry* controls; // holds controlCapacity + TABLE_SPARE entries
    int controlCapacity;
    HWND controlParent;
    HFONT defaultFont;

    int pendingEvent; // 0 = none
    int eventControlNumber;
    MSG lastMessage;
};

extern WindowLayer Layer;

// Every table block holds this many entries more than its capacity.
constexpr int TABLE_SPARE = 2;

// Keyboard-table commands of every program window.
constexpr WORD COMMAND_FOCUS_NEXT = 1212;
constexpr WORD COMMAND_FOCUS_PREVIOUS = 1213;

// The layer's own message that reports a size change on a later wait.
constexpr UINT MESSAGE_SIZE_CHANGED = 12504;

// Grows a zero-filled table block to newCapacity + TABLE_SPARE entries of entrySize bytes;
// false (table unchanged) when the heap refuses.
bool GrowTable(void** table, int* capacity, int newCapacity, size_t entrySize);

LRESULT CALLBACK LayerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Tab and Shift+Tab among the eligible controls of the active window.
void FocusNextControl();
void FocusPreviousControl();
