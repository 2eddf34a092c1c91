#include "tests/wine/program_fixture.h"

namespace {

using StartTest = ProgramTest;

// The working directory looks like a game directory, the program's own does not: only the
// program's own directory counts, and arguments of any kind change nothing.
TEST_F(StartTest, OutsideGameDirectoryShowsErrorAndTouchesNothing) {
    ASSERT_TRUE(MakeRunDirectory(&run, false));
    ASSERT_TRUE(CopyProgram(run));
    ASSERT_TRUE(WriteFile(run.root / "files.txt", "the working directory's"));
    FileTree before = SnapshotTree(run.root);
    ASSERT_TRUE(StartProgram(&run, L"/install --uninstall \"C:\\\" files.txt"));

    HWND box = WaitForMessageBox(run);
    ASSERT_NE(box, nullptr);
    MessageBoxContent content = ReadMessageBox(box);
    EXPECT_EQ(content.title, "Tauschwerk: Fehler");
    EXPECT_EQ(content.text, "Diese Anwendung muss sich im Spiel-Verzeichnis von GTA IV befinden!");
    EXPECT_EQ(content.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(content.icon, true);

    ASSERT_TRUE(PressBoxButton(box, IDOK));
    ExpectEndsWithZero();
    EXPECT_EQ(SnapshotTree(run.root), before);
}

} // namespace
