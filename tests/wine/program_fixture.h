#pragma once

#include <gtest/gtest.h>

#include "tests/wine/driver.h"

// Texts the tests expect, written out here rather than taken from the program, so that a
// changed text in the program shows.
inline constexpr char CAPTION_MODIFIED[] = "Dateien sind z. Z. MODIFIZIERT";
inline constexpr char CAPTION_ORIGINAL[] = "Dateien sind z. Z. ORIGINALE";
inline constexpr char CAPTION_CONFLICT[] = "!! KRITISCHER FEHLER !!";

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

    ::Run run = {}; // not testing::Test::Run
};
