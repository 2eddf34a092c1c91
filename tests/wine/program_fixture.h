#pragma once

#include <gtest/gtest.h>

#include "app/main_window_controls.h"
#include "tests/expected_texts.h"
#include "tests/inventory.h"
#include "driver/driver.h"

// One run per test, and the copies a test starts beside it, in the same directory or in one of
// their own, killed and cleaned away whatever the test's outcome.
class ProgramTest : public testing::Test {
  protected:
    void TearDown() override {
        for (ProgramRun* beside : {&second, &third})
            if (beside->root == run.root)
                beside->root.clear(); // the run's, removed once
        EndRun(&second);
        EndRun(&third);
        EndRun(&run);
    }
    ProgramRun run = {}, second = {}, third = {};
};

// The program's exit code once it has ended; STILL_ACTIVE when it does not end in time.
inline DWORD ExitCode(ProgramRun* run) {
    DWORD exitCode = STILL_ACTIVE;
    return WaitForExit(run, &exitCode) ? exitCode : STILL_ACTIVE;
}

// The game directory's files without the program itself.
inline FileTree GameFiles(const ProgramRun& run) {
    FileTree files = SnapshotTree(run.game);
    files.erase("Tauschwerk.exe");
    return files;
}

// Waits for the program's next message box and checks it: an icon, the buttons, the text
// Then presses answer and waits until the box has gone.
inline void AnswerBox(const ProgramRun& run, const std::string& title, const std::string& text,
                      const std::vector<int>& buttons, int answer) {
    HWND box = nullptr;
    ASSERT_TRUE(PollUntil([&] { return (box = FindMessageBox(run)) != nullptr; }))
        << "no box " << title;
    MessageBoxContent content = ReadMessageBox(box);
    ASSERT_EQ(content.title, title); // never answers a box it did not expect
    EXPECT_EQ(content.text, text);
    EXPECT_EQ(content.buttons, buttons);
    EXPECT_TRUE(content.icon);
    ASSERT_TRUE(PressBoxButton(box, answer));
    ASSERT_TRUE(PollUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }));
}

// Waits until the main window's state button reads caption.
inline bool StateReads(HWND window, const char* caption) {
    return PollUntil([&] { return ButtonCaption(window, STATUS_BUTTON) == caption; });
}

// Makes window the foreground window.
inline bool BringToFront(HWND window) {
    return PollUntil([&] {
        (void)SetForegroundWindow(window); // checked through GetForegroundWindow
        return GetForegroundWindow() == window;
    });
}

// Brings window to the front (keys reach only that), then presses the virtual keys in order
// and releases them in reverse.
inline bool SendKeys(HWND window, const std::vector<WORD>& keys) {
    if (!BringToFront(window))
        return false;
    std::vector<INPUT> inputs(2 * keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        inputs[i].type = inputs[inputs.size() - 1 - i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = inputs[inputs.size() - 1 - i].ki.wVk = keys[i];
        inputs[inputs.size() - 1 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) ==
           inputs.size();
}
