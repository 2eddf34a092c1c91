// The life of a game directory through the real program's boxes and buttons, on the real
// file system, with the program killed while it copies.

#include "fileset/file_table.h"
#include "tests/wine/program_fixture.h"

namespace {

using LifeCycle = ProgramTest;

// A game below a Cyrillic path, with three large files.
TEST_F(LifeCycle, AKilledBackupLosesAFileOrTheUninstallationLeavesATrace) {
    // Rows in the middle of the table, default0.cfg to default2.cfg: the kill falls amid the
    // backup.
    const std::string LARGE = "common\\data\\controls\\default";
    Prepare largeFiles = [&](const ProgramRun& r) {
        for (char i : {'0', '1', '2'})
            std::filesystem::resize_file(GamePath(r.game, LARGE + i + ".cfg"), 128 << 20);
        return true;
    };
    ASSERT_NE(StartInSampleGame(&run, SampleLayout::Fresh, nullptr, largeFiles, WITH_SETUP_FILES,
                                NON_ANSI_PATH),
              nullptr);
    const FileTree fresh = GameFiles(run);

    // Killed while it copies, the installation is offered again and then completes.
    AnswerBox(run, expected::TITLE_INSTALLATION, expected::TEXT_CONSENT, {IDOK, IDCANCEL}, IDOK);
    ASSERT_TRUE(PollUntil([&] {
        return std::filesystem::exists(
            GamePath(run.game, "common\\data\\controls\\TMP!ORI!default0.cfg"));
    }));
    ASSERT_TRUE(TerminateProcess(run.process.hProcess, 1));
    EXPECT_EQ(ExitCode(&run), 1u);
    // No copy cut short passes for an original: every ORI! copy there is identical to its
    // live file (the switch-only rows' originals are parked, not copied).
    const FileTree killed = GameFiles(run);
    for (const ManagedFile& row : ManagedFileTable) {
        auto copy = killed.find(Slashed(Parked(row.livePath, PREFIX_ORIGINAL)));
        EXPECT_TRUE(copy == killed.end() || row.switchOnly ||
                    copy->second == killed.at(Slashed(row.livePath)))
            << row.livePath;
    }
    ASSERT_TRUE(StartProgram(&run));
    AnswerBox(run, expected::TITLE_INSTALLATION, expected::TEXT_CONSENT, {IDOK, IDCANCEL}, IDOK);
    AnswerBox(run, expected::TITLE_INFO, expected::TEXT_INSTALLED, {IDOK}, IDOK);
    HWND window = nullptr;
    ASSERT_TRUE(PollUntil([&] { return (window = FindMainWindow(run)) != nullptr; }));
    ASSERT_TRUE(StateReads(window, expected::CAPTION_MODIFIED));
    // Every row has its copy, the setup files are in place, and no temporary file is left.
    EXPECT_EQ(GameFiles(run).size(), 2u * MANAGED_FILE_COUNT);

    // The uninstallation restores the directory as it was before the installation, byte for
    // byte (no copy cut short passed for an original), and the next start offers the
    // installation again.
    ASSERT_TRUE(ClickButton(GetDlgItem(window, UNINSTALL_BUTTON)));
    AnswerBox(run, expected::TITLE_UNINSTALL, expected::TEXT_UNINSTALL_QUESTION, {IDOK, IDCANCEL},
              IDOK);
    AnswerBox(run, expected::TITLE_UNINSTALL, expected::TEXT_UNINSTALLED, {IDOK}, IDOK);
    EXPECT_EQ(ExitCode(&run), 0u);
    EXPECT_TRUE(GameFiles(run) == fresh);
    ASSERT_TRUE(StartProgram(&run));
    AnswerBox(run, expected::TITLE_INSTALLATION, expected::TEXT_CONSENT, {IDOK, IDCANCEL},
              IDCANCEL);
    EXPECT_EQ(ExitCode(&run), 0u);
    EXPECT_TRUE(GameFiles(run) == fresh);
}

} // namespace
