#pragma once

// Drives the real Tauschwerk.exe from a test process: a fresh sample game directory, the
// program started in it, its windows read and answered, its end awaited. Every wait is
// bounded; whatever was started is killed on the way out, so nothing hangs.

#include <windows.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "sample/sample_game.h"

constexpr DWORD WAIT_TIMEOUT_MS = 10000;

// A run: the temporary directory, the game directory inside it and the started program.
struct Run {
    std::filesystem::path root; // removed at the end; the program's working directory
    std::filesystem::path game; // where Tauschwerk.exe lies
    PROCESS_INFORMATION process;
};

// Creates a fresh, empty game directory below the temporary directory; with nonAnsi its
// path holds a Cyrillic component. False when it cannot be created.
bool MakeRunDirectory(Run* run, bool nonAnsi);
// Copies Tauschwerk.exe from beside the test program into the game directory.
bool CopyProgram(const Run& run);
// Starts the copied program with the run's root as working directory.
bool StartProgram(Run* run, const std::wstring& arguments = L"");
// A fresh run directory holding a sample game in the given layout and the program,
// which is then started.
bool StartInSampleGame(Run* run, SampleLayout layout, bool nonAnsi = false);
// Kills the program if it still runs, then removes the run's directory.
void EndRun(Run* run);

// Waits for the program's end; false on timeout (the program is then killed).
bool WaitForExit(Run* run, DWORD* exitCode, DWORD timeoutMs = WAIT_TIMEOUT_MS);
bool IsRunning(const Run& run);

// The program's visible top-level windows.
std::vector<HWND> ProgramWindows(const Run& run);
// Waits for a message box (class #32770) or the main window; 0 on timeout.
HWND WaitForMessageBox(const Run& run, DWORD timeoutMs = WAIT_TIMEOUT_MS);
HWND WaitForMainWindow(const Run& run, DWORD timeoutMs = WAIT_TIMEOUT_MS);
// Waits for a message box with exactly this title; 0 on timeout.
HWND WaitForMessageBoxTitled(const Run& run, const std::string& title,
                             DWORD timeoutMs = WAIT_TIMEOUT_MS);
// The program's message box shown right now, or 0.
HWND FindMessageBoxNow(const Run& run);
// Waits until the window no longer exists or is hidden.
bool WaitForWindowGone(HWND window, DWORD timeoutMs = WAIT_TIMEOUT_MS);
// Waits until the program shows no message box any more.
bool WaitForNoMessageBox(const Run& run, DWORD timeoutMs = WAIT_TIMEOUT_MS);

struct MessageBoxContent {
    std::string title;
    std::string text;         // exact code page 1252 bytes
    std::vector<int> buttons; // ids of the visible buttons, ascending
    bool icon;                // an icon is shown; the native tests pin which
};

MessageBoxContent ReadMessageBox(HWND box);
// Clicks a box's button (IDOK, IDCANCEL).
bool PressBoxButton(HWND box, int id);

std::string WindowText(HWND window);
std::string ClassName(HWND window);

struct ButtonState {
    HWND handle;
    int id;
    std::string caption;
    LONG style;
    bool enabled;
};

struct MainWindowState {
    LONG style;
    RECT window;                      // screen coordinates
    RECT client;                      // screen coordinates
    std::vector<ButtonState> buttons; // in child order
};

MainWindowState ReadMainWindow(HWND window);
// The button with the given id, or 0.
HWND ButtonById(HWND window, int id);
std::string ButtonCaption(HWND window, int id);
// Waits until the button's caption reads text.
bool WaitForCaption(HWND window, int id, const std::string& text,
                    DWORD timeoutMs = WAIT_TIMEOUT_MS);

// Waits until the button's enabled state is enabled.
bool WaitForEnabled(HWND window, int id, bool enabled, DWORD timeoutMs = WAIT_TIMEOUT_MS);

// The window that has the keyboard focus in the program's thread, or 0.
HWND FocusedWindow(const Run& run);
bool WaitForFocus(const Run& run, HWND expected, DWORD timeoutMs = WAIT_TIMEOUT_MS);

// Clicks a button without waiting for the program to handle it.
bool ClickButton(HWND button);
// Asks to close a window as its close box or system menu does.
bool RequestClose(HWND window);

// Key input through SendInput, after making the window the foreground window.
enum class Key { Tab, ShiftTab, Enter, Escape, Space, AltF4 };
bool SendKey(HWND window, Key key);
