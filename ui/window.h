#pragma once

// A small layer of numbered windows and numbered push buttons with a blocking event wait
// and Tab / Shift+Tab focus movement.

typedef void* WindowHandle;

constexpr int EVENT_SIZE = 5;
constexpr int EVENT_CLOSE = 16;
constexpr int EVENT_CONTROL = 13100;
constexpr int EVENT_MENU = 13101;

constexpr unsigned long STYLE_MAIN_WINDOW = 0x00C80000; // caption and system menu, fixed frame
constexpr unsigned long STYLE_DEFAULT_BUTTON = 1;       // drawn with the default-button frame

constexpr int CONTROL_ENABLE = 0;
constexpr int CONTROL_DISABLE = 1;

void InitControlLayer();
void InitWindowLayer();

int ScreenWidth();
int ScreenHeight();

// Opens window number n with a client area of exactly width x height whose outer top-left
// corner lies at (x, y). Answers 0 when the platform refuses the window.
WindowHandle CreateAppWindow(int n, int x, int y, int width, int height, unsigned long style,
                             const char* title);
WindowHandle CurrentWindowHandle();
void SetControlParent(WindowHandle parent);
WindowHandle AddButton(int n, int x, int y, int width, int height, const char* caption,
                       unsigned long extraStyle = 0);
void DisableControl(int n, int state);
void SetControlText(int n, const char* text);
// Appends the caption (at most 4,999 characters) to the message-text work area.
void GetControlText(int n);

// Waits for the next message and answers an event code, or the message's own number.
int WaitEvent();
int EventControlNumber();

void CloseAppWindow(int n);
void CloseAllWindows();
