#pragma once

// Drives the real Tauschwerk.exe from a test process: a fresh sample game directory, the
// program started in it, its windows read and answered, its end awaited. Every wait is
// bounded; whatever was started is killed on the way out, so nothing hangs.

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "sample/sample_game.h"

constexpr DWORD WAIT_TIMEOUT_MS = 10000;
constexpr DWORD POLL_INTERVAL_MS = 10;

// A run: the temporary directory, the game directory inside it and the started program.
struct ProgramRun {
    std::filesystem::path root; // removed at the end; the program's working directory
    std::filesystem::path game; // where Tauschwerk.exe lies
    PROCESS_INFORMATION process;
};

// Polls until check answers true or WAIT_TIMEOUT_MS have passed. Another process's effects are
// awaited this way, never by a fixed sleep, which would fail by chance on a slow machine.
template <typename Check> bool PollUntil(Check check) {
    ULONGLONG deadline = GetTickCount64() + WAIT_TIMEOUT_MS;
    while (!check()) {
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(POLL_INTERVAL_MS);
    }
    return true;
}

// Ends whatever the run held, then creates a fresh, empty game directory below the
// temporary directory; with nonAnsi its path holds a Cyrillic component.
bool MakeRunDirectory(ProgramRun* run, bool nonAnsi);
// Copies Tauschwerk.exe from beside the test program into the game directory.
bool CopyProgram(const ProgramRun& run);
// Starts the copied program with the run's root as working directory.
bool StartProgram(ProgramRun* run);

// Changes a run's directory before the program starts in it; false when it cannot.
using Prepare = std::function<bool(const ProgramRun&)>;
// A fresh run directory with a sample game in layout and the program, changed by prepare,
// the program started in it; then waits until the main window's state button reads
// caption or, with a null caption, until a message box shows. Answers that window, or 0.
constexpr bool NON_ANSI_PATH = true; // a directory name outside the system's code page
HWND StartInSampleGame(ProgramRun* run, SampleLayout layout, const char* caption,
                       const Prepare& prepare = nullptr, bool withSetupFiles = false,
                       bool nonAnsi = false);
// Kills the program if it still runs, then removes the run's directory.
void EndRun(ProgramRun* run);
// Waits for the program's end; false on timeout (the program is then killed).
bool WaitForExit(ProgramRun* run, DWORD* exitCode);

// The program's main window, or its message box (class #32770), shown right now; or 0.
HWND FindMainWindow(const ProgramRun& run);
HWND FindMessageBox(const ProgramRun& run);

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
// The caption of the window's child control with this id.
std::string ButtonCaption(HWND window, int id);

// Clicks a button without waiting for the program to handle it.
bool ClickButton(HWND button);
