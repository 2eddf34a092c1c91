// The life of a game directory through the real program's boxes and buttons, on the real
// file system, and the faults a player meets there.

#include "fileset/file_table.h"
#include "tests/wine/program_fixture.h"

namespace {

using LifeCycle = ProgramTest;

// Held by another program as the game holds its files: without sharing.
HANDLE Hold(const ProgramRun& run, const char* file) {
    return CreateFileW(GamePath(run.game, file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

// A switch waits out a moment's hold; a hold for the whole switch is told within the wait
// for a box, and the caption then says that the switch did not finish.
TEST_F(LifeCycle, AHeldFileIsWaitedForOrToldAndTheCaptionStaysTrue) {
    const char HANDLING[] = "common\\data\\handling.dat";
    for (DWORD holdMs : {300u, INFINITE}) {
        SCOPED_TRACE(holdMs);
        HWND window = StartInSampleGame(&run, SampleLayout::Original, expected::CAPTION_ORIGINAL);
        ASSERT_NE(window, nullptr);
        const FileTree before = GameFiles(run);
        HANDLE held = Hold(run, HANDLING);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        ASSERT_TRUE(ClickButton(GetDlgItem(window, STATUS_BUTTON)));
        if (holdMs != INFINITE) {
            Sleep(holdMs);
            (void)CloseHandle(held);
            EXPECT_TRUE(StateReads(window, expected::CAPTION_MODIFIED));
            EXPECT_EQ(FindMessageBox(run), nullptr);
        } else {
            AnswerBox(run, expected::TITLE_ERROR,
                      expected::ReportText(
                          expected::SWITCH_FAILED, "common\\data\\handling.dat (in Benutzung)",
                          expected::Lines({expected::ADVICE_HELD}), expected::NEXT_SWITCH_AT_START),
                      {IDOK}, IDOK);
            (void)CloseHandle(held);
            EXPECT_TRUE(StateReads(window, expected::CAPTION_CONFLICT));
        }
        EXPECT_EQ(InventoryOf(GameFiles(run)), InventoryOf(before));
    }
}

// An installation that cannot save every original stops, leaves the directory as not
// installed and touches nothing in its way; once the obstacle is gone it completes.
TEST_F(LifeCycle, AnInstallationStopsAtAnObstacleAndCompletesOnceItIsGone) {
    const char HANDLING[] = "common\\data\\handling.dat";
    const char TEMPORARY[] = "common\\data\\TMP!ORI!handling.dat";
    struct {
        const char* line;
        const char* advice;
        bool hold; // else a directory at the copy's temporary name
    } const obstacles[] = {
        {"common\\data\\handling.dat (in Benutzung)", expected::ADVICE_HELD, true},
        {"common\\data\\handling.dat (Name bereits vergeben: common\\data\\TMP!ORI!handling.dat)",
         expected::ADVICE_TAKEN, false},
    };
    for (const auto& obstacle : obstacles) {
        SCOPED_TRACE(obstacle.line);
        auto directoryInTheWay = [&](const ProgramRun& r) {
            return std::filesystem::create_directories(GamePath(r.game, TEMPORARY) / "inside");
        };
        ASSERT_NE(StartInSampleGame(&run, SampleLayout::Fresh, nullptr,
                                    obstacle.hold ? Prepare() : Prepare(directoryInTheWay),
                                    WITH_SETUP_FILES),
                  nullptr);
        HANDLE held = obstacle.hold ? Hold(run, HANDLING) : nullptr;
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        AnswerBox(run, expected::TITLE_INSTALLATION, expected::TEXT_CONSENT, {IDOK, IDCANCEL},
                  IDOK);
        AnswerBox(run, expected::TITLE_ERROR,
                  expected::ReportText(expected::INSTALL_ABORTED, obstacle.line,
                                       expected::Lines({obstacle.advice}),
                                       expected::NEXT_INSTALL_AGAIN),
                  {IDOK}, IDOK);
        EXPECT_EQ(ExitCode(&run), 0u);
        EXPECT_FALSE(std::filesystem::exists(run.game / "ORI!files.txt"));
        EXPECT_EQ(GameFiles(run).count("files.txt"), 1u);
        if (held != nullptr)
            (void)CloseHandle(held);
        else
            EXPECT_TRUE(std::filesystem::remove_all(GamePath(run.game, TEMPORARY)) == 2);
        ASSERT_TRUE(StartProgram(&run));
        AnswerBox(run, expected::TITLE_INSTALLATION, expected::TEXT_CONSENT, {IDOK, IDCANCEL},
                  IDOK);
        AnswerBox(run, expected::TITLE_INFO, expected::TEXT_INSTALLED, {IDOK}, IDOK);
        HWND window = nullptr;
        EXPECT_TRUE(PollUntil([&] { return (window = FindMainWindow(run)) != nullptr; }));
        if (HasFailure())
            break; // a failing row waits out its timeouts: one is enough to tell
    }
}

// A switch back to the originals cut short in its second phase, as a crash of the game or
// the power going leaves it: every live file parked, the first rows' originals live again.
bool CutSwitchShort(const std::filesystem::path& game) {
    constexpr int ROWS_BROUGHT_LIVE = 60;
    bool moved = true;
    for (int row = 0; row < MANAGED_FILE_COUNT; ++row) {
        const char* live = ManagedFileTable[row].livePath;
        std::error_code error;
        std::filesystem::rename(GamePath(game, live), GamePath(game, Parked(live, PREFIX_MODIFIED)),
                                error);
        if (row < ROWS_BROUGHT_LIVE)
            std::filesystem::rename(GamePath(game, Parked(live, PREFIX_ORIGINAL)),
                                    GamePath(game, live), error);
        moved = moved && !error;
    }
    return moved;
}

// No copy cut short passes for an original: every ORI! copy there is identical to its
// live file (the switch-only rows' originals are parked, not copied).
void ExpectOriginalCopiesWhole(const FileTree& tree) {
    for (const ManagedFile& row : ManagedFileTable) {
        auto copy = tree.find(Slashed(Parked(row.livePath, PREFIX_ORIGINAL)));
        EXPECT_TRUE(copy == tree.end() || row.switchOnly ||
                    copy->second == tree.at(Slashed(row.livePath)))
            << row.livePath;
    }
}

// A game below a Cyrillic path, with an old ORI! copy lying there and three large files.
TEST_F(LifeCycle, AKillOrASwitchCutShortLosesAFileOrKeepsAStaleCopy) {
    // Rows in the middle of the table: the kill falls amid the backup.
    const char* const LARGE[] = {"common\\data\\controls\\default0.cfg",
                                 "common\\data\\controls\\default1.cfg",
                                 "common\\data\\controls\\default2.cfg"};
    Prepare oldCopyAndLargeFiles = [&](const ProgramRun& r) {
        for (const char* file : LARGE)
            std::filesystem::resize_file(GamePath(r.game, file), 128 << 20);
        return WriteFile(GamePath(r.game, "common\\data\\ORI!handling.dat"), "stale");
    };
    ASSERT_NE(StartInSampleGame(&run, SampleLayout::Fresh, nullptr, oldCopyAndLargeFiles,
                                WITH_SETUP_FILES, NON_ANSI_PATH),
              nullptr);
    FileTree fresh = GameFiles(run);
    fresh.erase("common/data/ORI!handling.dat");

    // Killed while it copies, the installation is offered again and then completes.
    AnswerBox(run, expected::TITLE_INSTALLATION, expected::TEXT_CONSENT, {IDOK, IDCANCEL}, IDOK);
    ASSERT_TRUE(PollUntil([&] {
        return std::filesystem::exists(
            GamePath(run.game, Parked(Parked(LARGE[0], PREFIX_ORIGINAL).c_str(), "TMP!")));
    }));
    ASSERT_TRUE(TerminateProcess(run.process.hProcess, 1));
    EXPECT_EQ(ExitCode(&run), 1u);
    ExpectOriginalCopiesWhole(GameFiles(run));
    ASSERT_TRUE(StartProgram(&run));
    AnswerBox(run, expected::TITLE_INSTALLATION, expected::TEXT_CONSENT, {IDOK, IDCANCEL}, IDOK);
    AnswerBox(run, expected::TITLE_INFO, expected::TEXT_INSTALLED, {IDOK}, IDOK);
    HWND window = nullptr;
    ASSERT_TRUE(PollUntil([&] { return (window = FindMainWindow(run)) != nullptr; }));
    ASSERT_TRUE(StateReads(window, expected::CAPTION_MODIFIED));
    const FileTree installed = GameFiles(run);
    ExpectOriginalCopiesWhole(installed);
    // Every row has its copy, the setup files are in place, and no temporary file is left.
    EXPECT_EQ(installed.size(), 2u * MANAGED_FILE_COUNT);

    // Each switch only moves files; the way back restores the tree exactly.
    ASSERT_TRUE(ClickButton(GetDlgItem(window, STATUS_BUTTON)));
    ASSERT_TRUE(StateReads(window, expected::CAPTION_ORIGINAL));
    EXPECT_EQ(InventoryOf(GameFiles(run)), InventoryOf(installed));
    ASSERT_TRUE(ClickButton(GetDlgItem(window, STATUS_BUTTON)));
    ASSERT_TRUE(StateReads(window, expected::CAPTION_MODIFIED));
    EXPECT_TRUE(GameFiles(run) == installed);

    // A switch cut short is finished toward the originals by the next start; the
    // uninstallation then restores the directory as it was before the installation, byte
    // for byte, and the next start offers the installation again.
    // Closed by its system menu, the program ends at once, touching no file.
    ASSERT_TRUE(PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0));
    EXPECT_EQ(ExitCode(&run), 0u);
    EXPECT_TRUE(GameFiles(run) == installed);
    ASSERT_TRUE(CutSwitchShort(run.game));
    ASSERT_TRUE(StartProgram(&run));
    ASSERT_TRUE(PollUntil([&] { return (window = FindMainWindow(run)) != nullptr; }));
    ASSERT_TRUE(StateReads(window, expected::CAPTION_ORIGINAL));
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
