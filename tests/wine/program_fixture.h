#pragma once

#include <gtest/gtest.h>

#include "tests/expected_texts.h"
#include "tests/inventory.h"
#include "driver/driver.h"

enum class Answer { Ok, Cancel, Escape, CloseBox };

constexpr int STATUS_BUTTON = 0;
constexpr int INFOS_BUTTON = 1;
constexpr int UNINSTALL_BUTTON = 2;

// One started program per test, killed and cleaned away whatever the test's outcome.
class ProgramTest : public testing::Test {
  protected:
    void TearDown() override { EndRun(&run); }

    // Starts the program in a sample game and waits until its main window shows caption.
    HWND OpenMainWindow(SampleLayout layout, const char* caption, bool nonAnsi = false) {
        if (!StartInSampleGame(&run, layout, nonAnsi))
            return nullptr;
        HWND window = WaitForMainWindow(run);
        if (window == nullptr || !WaitForCaption(window, STATUS_BUTTON, caption))
            return nullptr;
        return window;
    }

    // Ends the program through its window and checks that it left with exit code 0.
    void ExpectEndsWithZero() {
        DWORD exitCode = 1;
        ASSERT_TRUE(WaitForExit(&run, &exitCode));
        EXPECT_EQ(exitCode, 0u);
    }

    // The game directory's files, without the program itself and without directories.
    FileTree GameFiles() {
        FileTree files;
        for (const auto& [path, content] : SnapshotTree(run.game)) {
            if (path != "Tauschwerk.exe")
                files[path] = content;
        }
        return files;
    }

    // Waits for the box with this title, checks it (a null text is not compared), answers
    // it and waits until it has gone.
    void Expect(const char* title, const char* text, bool icon, std::vector<int> buttons,
                Answer answer) {
        HWND box = WaitForMessageBoxTitled(run, title);
        ASSERT_NE(box, nullptr) << "no box \"" << title << "\"";
        MessageBoxContent content = ReadMessageBox(box);
        if (text != nullptr) {
            EXPECT_EQ(content.text, text);
        }
        EXPECT_EQ(content.icon, icon);
        EXPECT_EQ(content.buttons, buttons);
        switch (answer) {
        case Answer::Ok:
            ASSERT_TRUE(PressBoxButton(box, IDOK));
            break;
        case Answer::Cancel:
            ASSERT_TRUE(PressBoxButton(box, IDCANCEL));
            break;
        case Answer::Escape:
            ASSERT_TRUE(SendKey(box, Key::Escape));
            break;
        case Answer::CloseBox:
            ASSERT_TRUE(RequestClose(box));
            break;
        }
        ASSERT_TRUE(WaitForWindowGone(box));
    }

    // The error box's text, answered with OK.
    std::string ErrorText() {
        HWND box = WaitForMessageBoxTitled(run, TITLE_ERROR);
        std::string text = box != nullptr ? ReadMessageBox(box).text : "";
        Expect(TITLE_ERROR, nullptr, true, {IDOK}, Answer::Ok);
        return text;
    }

    ::Run run = {}; // not testing::Test::Run
};
