// Faults only the real Win32 calls show: a marker that cannot be looked at taken for a
// missing one, a second copy let in beside the first, and links that Wine shows as plain
// files followed.

#include "app/directory_lock_win32.h"
#include "tests/wine/program_fixture.h"

namespace {

using Win32Faults = ProgramTest;

const std::wstring MARKER = L"MOD!files.txt";
const std::wstring ALIAS = L"alias"; // beside the game directory, another name for it

// Only the Unix side makes links that Wine follows. Wine starts a Unix program without a
// handle to wait on: the caller waits for its effect.
bool RunUnix(const std::filesystem::path& dir, std::wstring line) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    return CreateProcessW(line.substr(0, line.find(L' ')).c_str(), line.data(), nullptr, nullptr,
                          FALSE, 0, nullptr, dir.c_str(), &startup, &process);
}

// Waits until a link is there, looked up with success or with another error than "not
// found", or until it has gone.
bool LinkThere(const std::filesystem::path& link, bool there) {
    return PollUntil([&] {
        return (GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES ||
                GetLastError() != ERROR_FILE_NOT_FOUND) == there;
    });
}

// The marker as a link to itself: its lookup fails, but not with "not found".
bool LoopMarker(const ProgramRun& run) {
    return DeleteFileW((run.game / MARKER).c_str()) &&
           RunUnix(run.game, L"/bin/ln -s " + MARKER + L" " + MARKER) &&
           LinkThere(run.game / MARKER, true);
}

// As a junction or a mapped drive names it on Windows. (Wine's loader gives a program started
// through the 8.3 short path its long name.)
bool AliasDirectory(const ProgramRun& run) {
    return RunUnix(run.root, L"/bin/ln -s " + run.game.filename().wstring() + L" " + ALIAS) &&
           LinkThere(run.root / ALIAS, true);
}

// Held as another user's copy holds it: with an empty DACL, which lets no one else open it.
HANDLE HoldUnopenableLock(const std::filesystem::path& game) {
    char name[LOCK_NAME_SIZE];
    DirectoryLockName((game / "").u8string().c_str(), name); // spelled as the program sees it
    SECURITY_DESCRIPTOR descriptor;
    ACL empty;
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), &descriptor, FALSE};
    bool made = InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
                InitializeAcl(&empty, sizeof(empty), ACL_REVISION) &&
                SetSecurityDescriptorDacl(&descriptor, TRUE, &empty, FALSE);
    return made ? CreateMutexA(&attributes, FALSE, name) : nullptr;
}

TEST_F(Win32Faults, ALinkLoopReadsMissingOrTheLockIsFreeWhenUnopenableSpelledOrKeptByARefusal) {
    enum Then { FIRST_STARTS, FIRST_REFUSED, SECOND_THROUGH_ALIAS, THIRD_AFTER_REFUSAL };
    HANDLE held = nullptr;
    const struct {
        const char* fault;
        Prepare prepare;
        Then then;
    } cases[] = {
        {"the probe takes every lookup error for missing", LoopMarker, FIRST_STARTS},
        {"a lock that cannot be opened counts as free",
         [&](const ProgramRun& r) { return (held = HoldUnopenableLock(r.game)) != nullptr; },
         FIRST_REFUSED},
        {"the lock is named by the path's spelling", AliasDirectory, SECOND_THROUGH_ALIAS},
        // With the second copy's refusal still open, the first ends and a third starts.
        {"a refused copy keeps the lock", nullptr, THIRD_AFTER_REFUSAL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        HWND window = StartInSampleGame(
            &run, SampleLayout::Original,
            c.then == FIRST_REFUSED ? nullptr : expected::CAPTION_ORIGINAL, c.prepare);
        ASSERT_NE(window, nullptr);
        ProgramRun* refused = c.then == FIRST_REFUSED ? &run : &second;
        if (c.then == SECOND_THROUGH_ALIAS || c.then == THIRD_AFTER_REFUSAL) {
            second = {run.root, c.then == SECOND_THROUGH_ALIAS ? run.root / ALIAS : run.game, {}};
            ASSERT_TRUE(BringToFront(window));
            ASSERT_TRUE(StartProgram(&second));
            ASSERT_TRUE(PollUntil([&] { return FindMessageBox(second) != nullptr; }));
            // The refusal takes no other program's window for its owner, the first copy's in
            // front included: that window stays enabled.
            EXPECT_TRUE(IsWindowEnabled(window));
        }
        if (c.then == THIRD_AFTER_REFUSAL) {
            // The first copy ends while the refusal is open.
            ASSERT_TRUE(TerminateProcess(run.process.hProcess, 1));
            EXPECT_EQ(ExitCode(&run), 1u);
            third = {run.root, run.game, {}};
            ASSERT_TRUE(StartProgram(&third));
            ASSERT_TRUE(PollUntil([&] { return (window = FindMainWindow(third)) != nullptr; }));
            EXPECT_TRUE(StateReads(window, expected::CAPTION_ORIGINAL));
        }
        if (c.then != FIRST_STARTS) {
            AnswerBox(*refused, expected::TITLE_INFO, expected::TEXT_ALREADY_RUNNING, {IDOK}, IDOK);
            EXPECT_EQ(ExitCode(refused), 0u);
            EXPECT_EQ(GameFiles(run), SampleFiles(SampleLayout::Original, NO_SETUP_FILES));
        }
        if (c.then == FIRST_REFUSED)
            (void)CloseHandle(held);
        // Only the Unix side removes a link: Wine would delete what the alias leads to.
        EXPECT_TRUE(RunUnix(run.root, L"/bin/rm -f " + ALIAS + L" " +
                                          (run.game.filename() / MARKER).generic_wstring()) &&
                    LinkThere(run.root / ALIAS, false) && LinkThere(run.game / MARKER, false));
        if (HasFailure())
            break; // a failing row waits out its timeouts: one is enough to tell
    }
}

std::string InstallAborted(const std::string& files, const char* advice) {
    return std::string(expected::INSTALL_ABORTED) + "\n\n" + files + "\n\n" + advice + "\n" +
           expected::NEXT_INSTALL_AGAIN;
}

// A mod tool's Unix links into a store beside the game directory: a linked game file refuses
// the installation; a link at a copy's temporary name, to the live file, to a file outside or
// to no file yet, fails its row; neither changes a byte inside or outside. A game directory
// reached through a linked parent, below a non-ANSI path, lives as any other and ends byte for
// byte as it began.
TEST_F(Win32Faults, ALinkIsFollowedOrAGameDirectoryBehindOneIsRefused) {
    const std::string LINKED =
        InstallAborted("common\\data\\handling.dat (Verkn\xFCpfung)", expected::ADVICE_LINK);
    const std::string TAKEN = InstallAborted("common\\data\\handling.dat (Name bereits vergeben: "
                                             "common\\data\\TMP!ORI!handling.dat)",
                                             expected::ADVICE_TAKEN);
    const struct {
        std::wstring link; // from the run's root
        std::wstring target;
        const std::string report; // empty: installs, switches and uninstalls
    } cases[] = {
        {L"game/common/data/handling.dat", L"../../../store/handling.dat", LINKED},
        {L"game/common/data/TMP!ORI!handling.dat", L"handling.dat", TAKEN},
        {L"game/common/data/TMP!ORI!handling.dat", L"../../../store/outside.dat", TAKEN},
        {L"game/common/data/TMP!ORI!handling.dat", L"../../../store/gone.dat", TAKEN},
        {L"via", L"real", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::filesystem::path(c.link + L" -> " + c.target).u8string());
        // The game directory behind a link below a path outside the system's code page.
        ASSERT_TRUE(MakeRunDirectory(&run, c.report.empty()));
        const std::filesystem::path store = run.root / "store", link = run.root / c.link;
        const std::filesystem::path name = run.game.filename();
        if (c.report.empty())
            run.game = run.root / "real" / name;
        // The store's gone.dat is gone once the links lead to it.
        EXPECT_TRUE(MakeSampleGame(run.game, SampleLayout::Fresh, WITH_SETUP_FILES) &&
                    CopyProgram(run) && std::filesystem::create_directory(store) &&
                    WriteFile(store / "outside.dat", "outside") &&
                    WriteFile(store / "gone.dat", "") &&
                    (!std::filesystem::exists(link) ||
                     MoveFileW(link.c_str(), (store / "handling.dat").c_str())) &&
                    RunUnix(run.root, L"/bin/ln -s " + c.target + L" " + c.link) &&
                    LinkThere(link, true) && DeleteFileW((store / "gone.dat").c_str()));
        if (c.report.empty())
            run.game = run.root / "via" / name;
        const FileTree game = GameFiles(run), outside = SnapshotTree(store);
        EXPECT_TRUE(StartProgram(&run));
        AnswerBox(run, expected::TITLE_INSTALLATION, expected::TEXT_CONSENT, {IDOK, IDCANCEL},
                  IDOK);
        if (!c.report.empty()) {
            AnswerBox(run, expected::TITLE_ERROR, c.report, {IDOK}, IDOK);
        } else {
            AnswerBox(run, expected::TITLE_INFO, expected::TEXT_INSTALLED, {IDOK}, IDOK);
            HWND window = nullptr;
            EXPECT_TRUE(PollUntil([&] { return (window = FindMainWindow(run)) != nullptr; }) &&
                        StateReads(window, expected::CAPTION_MODIFIED) &&
                        ClickButton(GetDlgItem(window, STATUS_BUTTON)) &&
                        StateReads(window, expected::CAPTION_ORIGINAL) &&
                        ClickButton(GetDlgItem(window, UNINSTALL_BUTTON)));
            AnswerBox(run, expected::TITLE_UNINSTALL, expected::TEXT_UNINSTALL_QUESTION,
                      {IDOK, IDCANCEL}, IDOK);
            AnswerBox(run, expected::TITLE_UNINSTALL, expected::TEXT_UNINSTALLED, {IDOK}, IDOK);
        }
        EXPECT_EQ(ExitCode(&run), 0u);
        EXPECT_EQ(GameFiles(run), game);
        EXPECT_EQ(SnapshotTree(store), outside);
        // Only the Unix side removes a link (Wine would delete what it leads to), and only a
        // link that leads somewhere shows whether it has gone.
        EXPECT_TRUE(WriteFile(store / "gone.dat", "") && RunUnix(run.root, L"/bin/rm " + c.link) &&
                    LinkThere(link, false));
        if (HasFailure())
            break; // a failing row waits out its timeouts: one is enough to tell
    }
}

} // namespace
