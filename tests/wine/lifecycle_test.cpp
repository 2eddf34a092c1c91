// The life of a game directory through the real program's boxes and buttons, on the real
// file system, and the faults a player meets there.

#include "fileset/file_table.h"
#include "tests/wine/program_fixture.h"

namespace {

using LifeCycle = ProgramTest;

// The installed tree switched to the originals: each live file parked under MOD!, each
// ORI! copy live.
FileTree SwitchedToOriginals(const FileTree& installed) {
    FileTree tree;
    for (const auto& [path, content] : installed) {
        std::string::size_type name = path.rfind('/') + 1; // 0 without a directory
        bool parked = path.compare(name, 4, "ORI!") == 0;
        tree[path.substr(0, name) + (parked ? "" : "MOD!") +
             path.substr(parked ? name + 4 : name)] = content;
    }
    return tree;
}

TEST_F(LifeCycle, CycleBelowANonAnsiPathLosesAFileOrKeepsAStaleBackup) {
    // A copy from an earlier installation must give way to a copy of the live file.
    Prepare staleCopy = [](const ProgramRun& r) {
        return WriteFile(GamePath(r.game, "common\\data\\ORI!handling.dat"), "stale");
    };
    ASSERT_NE(StartInSampleGame(&run, SampleLayout::Fresh, nullptr, staleCopy, true, true),
              nullptr);
    AnswerBox(run, TITLE_INSTALLATION, TEXT_CONSENT, {IDOK, IDCANCEL}, IDOK);
    AnswerBox(run, "Tauschwerk: Info", TEXT_INSTALLED, {IDOK}, IDOK);
    HWND window = nullptr;
    ASSERT_TRUE(PollUntil([&] { return (window = FindMainWindow(run)) != nullptr; }));
    ASSERT_TRUE(StateReads(window, CAPTION_MODIFIED));
    const FileTree installed = InstalledFiles();
    EXPECT_EQ(GameFiles(run), installed);

    ASSERT_TRUE(ClickButton(GetDlgItem(window, STATUS_BUTTON)));
    ASSERT_TRUE(StateReads(window, CAPTION_ORIGINAL));
    EXPECT_EQ(GameFiles(run), SwitchedToOriginals(installed));
    ASSERT_TRUE(ClickButton(GetDlgItem(window, STATUS_BUTTON)));
    ASSERT_TRUE(StateReads(window, CAPTION_MODIFIED));
    EXPECT_EQ(GameFiles(run), installed);

    ASSERT_TRUE(ClickButton(GetDlgItem(window, UNINSTALL_BUTTON)));
    AnswerBox(run, TITLE_UNINSTALL, TEXT_UNINSTALL_QUESTION, {IDOK, IDCANCEL}, IDOK);
    AnswerBox(run, TITLE_UNINSTALL, TEXT_UNINSTALLED, {IDOK}, IDOK);
    EXPECT_EQ(ExitCode(&run), 0u);
    // As before the installation, without the stale copy: replaced, then deleted.
    const FileTree fresh = SampleFiles(SampleLayout::Fresh, true);
    EXPECT_EQ(GameFiles(run), fresh);

    ASSERT_TRUE(StartProgram(&run));
    AnswerBox(run, TITLE_INSTALLATION, TEXT_CONSENT, {IDOK, IDCANCEL}, IDCANCEL);
    EXPECT_EQ(ExitCode(&run), 0u);
    EXPECT_EQ(GameFiles(run), fresh);
}

// The working directory looks like a game directory, the program's own does not.
TEST_F(LifeCycle, WorkingDirectoryOrArgumentsTakenForTheGameDirectory) {
    ASSERT_TRUE(MakeRunDirectory(&run, false) && CopyProgram(run) &&
                WriteFile(run.root / "files.txt", "the working directory's"));
    const FileTree before = SnapshotTree(run.root);
    ASSERT_TRUE(StartProgram(&run, L"/install --uninstall \"C:\\\" files.txt"));
    AnswerBox(run, TITLE_ERROR, TEXT_NOT_IN_GAME_DIRECTORY, {IDOK}, IDOK);
    EXPECT_EQ(ExitCode(&run), 0u);
    EXPECT_EQ(SnapshotTree(run.root), before);
}

TEST_F(LifeCycle, ObstaclesGoUnnamedOrCostAFile) {
    enum class Obstacle { Held, Taken, ReadOnly };
    struct Fault {
        SampleLayout layout;
        Obstacle obstacle;
        const char* file;
        int button;        // the uninstall question is answered with OK
        const char* error; // the error box's first lines
        const char* state; // the state button's caption afterwards; null: the program ends
    };
    const Fault faults[] = {
        // A file held by the game while switching.
        {SampleLayout::Original, Obstacle::Held, "common\\data\\handling.dat", STATUS_BUTTON,
         "Einige Dateien konnten nicht umgeschaltet werden!\n\n"
         "common\\data\\handling.dat (in Benutzung)\n\n",
         CAPTION_MODIFIED},
        // The parked name already taken while switching.
        {SampleLayout::Original, Obstacle::Taken, "common\\data\\ORI!handling.dat", STATUS_BUTTON,
         "Einige Dateien konnten nicht umgeschaltet werden!\n\n"
         "common\\data\\handling.dat (Name bereits vergeben)\n\n",
         CAPTION_MODIFIED},
        // A read-only MOD! copy when uninstalling.
        {SampleLayout::Original, Obstacle::ReadOnly, "common\\data\\MOD!handling.dat",
         UNINSTALL_BUTTON,
         "Die Deinstallation konnte nicht vollst\xE4ndig abgeschlossen werden!\n\n"
         "common\\data\\MOD!handling.dat (Zugriff verweigert)\n\n",
         nullptr},
        // A file held by the game when uninstalling: the switch back is needed first.
        {SampleLayout::Modified, Obstacle::Held, "common\\data\\handling.dat", UNINSTALL_BUTTON,
         "Die Deinstallation wurde abgebrochen!\n\n"
         "common\\data\\handling.dat (in Benutzung)\n\n",
         CAPTION_ORIGINAL},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.error);
        HWND window = StartInSampleGame(&run, fault.layout,
                                        fault.layout == SampleLayout::Original ? CAPTION_ORIGINAL
                                                                               : CAPTION_MODIFIED);
        ASSERT_NE(window, nullptr);
        const std::filesystem::path file = GamePath(run.game, fault.file);
        ASSERT_TRUE(fault.obstacle != Obstacle::Taken || WriteFile(file, "stale"));
        ASSERT_TRUE(fault.obstacle != Obstacle::ReadOnly ||
                    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
        const FileTree before = GameFiles(run);
        HANDLE held = nullptr;
        if (fault.obstacle == Obstacle::Held) // as the game holds its files: without sharing
            held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);

        ASSERT_TRUE(ClickButton(GetDlgItem(window, fault.button)));
        if (fault.button == UNINSTALL_BUTTON)
            AnswerBox(run, TITLE_UNINSTALL, TEXT_UNINSTALL_QUESTION, {IDOK, IDCANCEL}, IDOK);
        AnswerBox(run, TITLE_ERROR, fault.error, {IDOK}, IDOK, false);
        if (held != nullptr)
            (void)CloseHandle(held);
        if (fault.state != nullptr)
            EXPECT_TRUE(StateReads(window, fault.state));
        else
            EXPECT_EQ(ExitCode(&run), 0u);
        // A switch only moves files; an uninstallation deletes only modified ones.
        if (fault.state != nullptr) {
            EXPECT_EQ(InventoryOf(GameFiles(run)), InventoryOf(before));
        }
        EXPECT_TRUE(OriginalsSurvive(before, GameFiles(run)));
        (void)SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL); // lets EndRun delete it
        if (HasFailure())
            break; // a failing row waits out its timeouts: one is enough to tell
    }
}

// A switch cut short in its second phase, as a crash of the game or the power going leaves
// it: every live file parked as original, the first rows' modified files already live.
bool CutSwitchShort(const ProgramRun& r) {
    bool moved = true;
    for (int row = 0; row < MANAGED_FILE_COUNT; ++row) {
        const char* live = ManagedFileTable[row].livePath;
        std::error_code error;
        std::filesystem::rename(GamePath(r.game, live),
                                GamePath(r.game, Parked(live, PREFIX_ORIGINAL)), error);
        if (row < 60)
            std::filesystem::rename(GamePath(r.game, Parked(live, PREFIX_MODIFIED)),
                                    GamePath(r.game, live), error);
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

TEST_F(LifeCycle, ASecondCopyAKillOrASwitchCutShortCostsAFile) {
    HWND window = StartInSampleGame(&run, SampleLayout::Original, CAPTION_CONFLICT, CutSwitchShort);
    ASSERT_NE(window, nullptr);
    const FileTree conflict = GameFiles(run);
    ProgramRun second = {run.root, run.game, {}};
    ASSERT_TRUE(StartProgram(&second));
    AnswerBox(second, "Tauschwerk: Info", "Tauschwerk l\xE4uft in diesem Spielverzeichnis bereits.",
              {IDOK}, IDOK);
    EXPECT_EQ(ExitCode(&second), 0u);
    EXPECT_EQ(GameFiles(run), conflict);

    // The uninstallation finishes the switch back and leaves the directory as it was before
    // the installation, the modified files.txt and filelist.pak kept as the setup files.
    ASSERT_TRUE(ClickButton(GetDlgItem(window, UNINSTALL_BUTTON)));
    AnswerBox(run, TITLE_UNINSTALL, TEXT_UNINSTALL_QUESTION, {IDOK, IDCANCEL}, IDOK);
    AnswerBox(run, TITLE_UNINSTALL, TEXT_UNINSTALLED, {IDOK}, IDOK);
    EXPECT_EQ(ExitCode(&run), 0u);
    FileTree fresh = SampleFiles(SampleLayout::Fresh, false);
    fresh["Setup1.Vornak"] = ModifiedContent("files.txt");
    fresh["Setup2.Vornak"] = ModifiedContent("pc\\data\\filelist.pak");
    EXPECT_EQ(GameFiles(run), fresh);

    // Killed while it copies three large files, the installation is offered again and then
    // leaves every original copy whole.
    const ManagedFile* large = &ManagedFileTable[99];
    for (int i = 0; i < 3; ++i)
        std::filesystem::resize_file(GamePath(run.game, large[i].livePath), 128 << 20);
    ASSERT_TRUE(StartProgram(&run));
    AnswerBox(run, TITLE_INSTALLATION, TEXT_CONSENT, {IDOK, IDCANCEL}, IDOK);
    ASSERT_TRUE(PollUntil([&] {
        return std::filesystem::exists(
            GamePath(run.game, Parked(Parked(large[0].livePath, PREFIX_ORIGINAL).c_str(), "TMP!")));
    }));
    ASSERT_TRUE(TerminateProcess(run.process.hProcess, 1));
    EXPECT_EQ(ExitCode(&run), 1u);
    ExpectOriginalCopiesWhole(GameFiles(run));
    ASSERT_TRUE(StartProgram(&run));
    AnswerBox(run, TITLE_INSTALLATION, TEXT_CONSENT, {IDOK, IDCANCEL}, IDOK);
    AnswerBox(run, "Tauschwerk: Info", TEXT_INSTALLED, {IDOK}, IDOK);
    ASSERT_TRUE(PollUntil([&] { return (window = FindMainWindow(run)) != nullptr; }));
    EXPECT_TRUE(StateReads(window, CAPTION_MODIFIED));
    const FileTree installed = GameFiles(run);
    ExpectOriginalCopiesWhole(installed);
    // Every row has its copy, and no temporary file is left.
    EXPECT_EQ(installed.size(), 2u * MANAGED_FILE_COUNT);
}

} // namespace
