#include "tests/wine/program_fixture.h"

namespace {

using SwitchTest = ProgramTest;

// The tree of a fresh sample in the given layout with the program beside it.
FileTree ExpectedTree(const Run& run, SampleLayout layout) {
    std::filesystem::path reference = run.root / "expected";
    bool made = MakeSampleGame(reference, layout, false);
    EXPECT_TRUE(made);
    std::error_code error;
    std::filesystem::copy_file(run.game / "Tauschwerk.exe", reference / "Tauschwerk.exe", error);
    EXPECT_FALSE(error);
    FileTree tree = SnapshotTree(reference);
    std::filesystem::remove_all(reference, error);
    return tree;
}

// A game directory below a Cyrillic path: every one of the 185 rows moves with each click.
TEST_F(SwitchTest, ClickSwitchesEveryRowAndBack) {
    HWND window = OpenMainWindow(SampleLayout::Original, CAPTION_ORIGINAL, true);
    ASSERT_NE(window, nullptr);
    FileTree original = SnapshotTree(run.game);
    FileTree modified = ExpectedTree(run, SampleLayout::Modified);
    ASSERT_EQ(ExpectedTree(run, SampleLayout::Original), original);

    ASSERT_TRUE(ClickButton(ButtonById(window, STATUS_BUTTON)));
    ASSERT_TRUE(WaitForCaption(window, STATUS_BUTTON, CAPTION_MODIFIED));
    EXPECT_EQ(SnapshotTree(run.game), modified);
    EXPECT_EQ(FindMessageBoxNow(run), nullptr);

    ASSERT_TRUE(ClickButton(ButtonById(window, STATUS_BUTTON)));
    ASSERT_TRUE(WaitForCaption(window, STATUS_BUTTON, CAPTION_ORIGINAL));
    EXPECT_EQ(SnapshotTree(run.game), original);

    ASSERT_TRUE(RequestClose(window));
    ExpectEndsWithZero();
}

} // namespace
