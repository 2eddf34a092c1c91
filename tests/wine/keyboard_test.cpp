#include "tests/wine/program_fixture.h"

namespace {

using KeyboardTest = ProgramTest;

// Presses key and waits until the focus lies on the button with the given id.
::testing::AssertionResult FocusAfter(const Run& run, HWND window, Key key, int id) {
    if (!SendKey(window, key))
        return ::testing::AssertionFailure() << "key input did not reach the window";
    HWND expected = ButtonById(window, id);
    if (!WaitForFocus(run, expected))
        return ::testing::AssertionFailure()
               << "focus on id " << GetDlgCtrlID(FocusedWindow(run)) << ", expected " << id;
    return ::testing::AssertionSuccess();
}

TEST_F(KeyboardTest, TabAndShiftTabWrapAround) {
    HWND window = OpenMainWindow(SampleLayout::Modified, CAPTION_MODIFIED);
    ASSERT_NE(window, nullptr);
    // Nothing focused yet: Shift+Tab goes to the last button.
    EXPECT_TRUE(FocusAfter(run, window, Key::ShiftTab, UNINSTALL_BUTTON));
    EXPECT_TRUE(FocusAfter(run, window, Key::Tab, STATUS_BUTTON));
    EXPECT_TRUE(FocusAfter(run, window, Key::Tab, INFOS_BUTTON));
    EXPECT_TRUE(FocusAfter(run, window, Key::Tab, UNINSTALL_BUTTON));
    EXPECT_TRUE(FocusAfter(run, window, Key::Tab, STATUS_BUTTON));
    EXPECT_TRUE(FocusAfter(run, window, Key::ShiftTab, UNINSTALL_BUTTON));
    EXPECT_TRUE(FocusAfter(run, window, Key::ShiftTab, INFOS_BUTTON));
    EXPECT_TRUE(FocusAfter(run, window, Key::ShiftTab, STATUS_BUTTON));
}

TEST_F(KeyboardTest, DisabledStateButtonIsSkipped) {
    ASSERT_TRUE(MakeRunDirectory(&run, false));
    ASSERT_TRUE(MakeSampleGame(run.game, SampleLayout::Original, false));
    ASSERT_TRUE(WriteFile(run.game / "ORI!files.txt", "stale marker\n"));
    ASSERT_TRUE(CopyProgram(run));
    ASSERT_TRUE(StartProgram(&run));
    HWND window = WaitForMainWindow(run);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForCaption(window, STATUS_BUTTON, CAPTION_CONFLICT));
    EXPECT_TRUE(FocusAfter(run, window, Key::Tab, INFOS_BUTTON));
    EXPECT_TRUE(FocusAfter(run, window, Key::Tab, UNINSTALL_BUTTON));
    EXPECT_TRUE(FocusAfter(run, window, Key::Tab, INFOS_BUTTON));
    EXPECT_TRUE(FocusAfter(run, window, Key::ShiftTab, UNINSTALL_BUTTON));
}

// Enter does not press the default button and Escape does not close; the space bar presses
// the focused button.
TEST_F(KeyboardTest, OnlySpacePressesTheFocusedButton) {
    HWND window = OpenMainWindow(SampleLayout::Original, CAPTION_ORIGINAL);
    ASSERT_NE(window, nullptr);
    FileTree before = SnapshotTree(run.root);
    ASSERT_TRUE(FocusAfter(run, window, Key::Tab, STATUS_BUTTON));
    ASSERT_TRUE(SendKey(window, Key::Enter));
    ASSERT_TRUE(SendKey(window, Key::Escape));
    // Keys are handled in order: once this Tab shows, Enter and Escape have been handled.
    ASSERT_TRUE(FocusAfter(run, window, Key::Tab, INFOS_BUTTON));
    EXPECT_EQ(ButtonCaption(window, STATUS_BUTTON), CAPTION_ORIGINAL);
    EXPECT_EQ(FindMessageBoxNow(run), nullptr);
    EXPECT_TRUE(IsRunning(run));
    EXPECT_EQ(SnapshotTree(run.root), before);

    ASSERT_TRUE(FocusAfter(run, window, Key::ShiftTab, STATUS_BUTTON));
    ASSERT_TRUE(SendKey(window, Key::Space));
    EXPECT_TRUE(WaitForCaption(window, STATUS_BUTTON, CAPTION_MODIFIED));

    ASSERT_TRUE(FocusAfter(run, window, Key::Tab, INFOS_BUTTON));
    ASSERT_TRUE(SendKey(window, Key::Space));
    HWND box = WaitForMessageBox(run);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), "Tauschwerk: Infos");
}

} // namespace
