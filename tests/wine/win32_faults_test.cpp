// Faults only the real Win32 calls show at a start: a marker that cannot be looked at taken
// for a missing one, and a second copy let in beside the first.

#include "app/directory_lock_win32.h"
#include "tests/wine/program_fixture.h"

namespace {

using Win32Faults = ProgramTest;

const std::wstring MOD_MARKER = L"MOD!files.txt";
const std::wstring ALIAS = L"alias"; // beside the game directory, another spelling of it

// The lookup error a name in dir gives now, 0 when it is found.
DWORD LookupError(const std::filesystem::path& dir, const std::wstring& name) {
    return GetFileAttributesW((dir / name).c_str()) == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0;
}

// Runs a Unix command line in dir, then waits until name is found there, or gone. Only the
// Unix side makes links that Wine follows; Wine starts a Unix program without a handle to
// wait on, so the test waits for the effect.
bool RunUnix(const std::filesystem::path& dir, std::wstring line, const std::wstring& name,
             bool found) {
    std::wstring program = line.substr(0, line.find(L' '));
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir.c_str(), &startup, &process))
        return false;
    for (HANDLE handle : {process.hThread, process.hProcess})
        if (handle != nullptr)
            (void)CloseHandle(handle);
    return PollUntil([&] { return (LookupError(dir, name) != ERROR_FILE_NOT_FOUND) == found; });
}

// The marker as a link to itself: its lookup fails, but not with "not found".
bool LoopMarker(const ProgramRun& run) {
    return DeleteFileW((run.game / MOD_MARKER).c_str()) &&
           RunUnix(run.game, L"/bin/ln -s " + MOD_MARKER + L" " + MOD_MARKER, MOD_MARKER, true);
}

// The game directory's lock, held as another user's copy would hold it: with an empty DACL,
// which lets no one else open it.
HANDLE HoldUnopenableLock(const std::filesystem::path& game) {
    char name[LOCK_NAME_SIZE];
    DirectoryLockName((game / "").u8string().c_str(), name); // spelled as the program sees it
    SECURITY_DESCRIPTOR descriptor;
    ACL empty;
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), &descriptor, FALSE};
    if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !InitializeAcl(&empty, sizeof(empty), ACL_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor, TRUE, &empty, FALSE))
        return nullptr;
    return CreateMutexA(&attributes, FALSE, name);
}

// The game directory under another name, as a junction or a mapped drive gives it on Windows.
// (Wine's loader gives a program started through the 8.3 short path its long name.)
bool AliasDirectory(const ProgramRun& run) {
    return RunUnix(run.root, L"/bin/ln -s " + run.game.filename().wstring() + L" " + ALIAS, ALIAS,
                   true);
}

TEST_F(Win32Faults, ALinkLoopReadsMissingOrTheLockIsFreeWhenUnopenableSpelledOrKeptByARefusal) {
    enum Then { NOTHING, SECOND_THROUGH_ALIAS, SECOND_LEFT_OPEN_FIRST_KILLED_THIRD_STARTS };
    HANDLE held = nullptr;
    const struct {
        const char* fault;
        Prepare prepare;
        bool firstRefused;
        Then then;
    } cases[] = {
        {"the probe takes every lookup error for missing", LoopMarker, false, NOTHING},
        {"a lock that cannot be opened counts as free",
         [&](const ProgramRun& r) { return (held = HoldUnopenableLock(r.game)) != nullptr; }, true,
         NOTHING},
        {"the lock is named by the path's spelling", AliasDirectory, false, SECOND_THROUGH_ALIAS},
        {"a refused copy keeps the lock", nullptr, false,
         SECOND_LEFT_OPEN_FIRST_KILLED_THIRD_STARTS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        HWND window = StartInSampleGame(&run, SampleLayout::Original,
                                        c.firstRefused ? nullptr : CAPTION_ORIGINAL, c.prepare);
        ASSERT_NE(window, nullptr);
        if (c.firstRefused) {
            AnswerBox(run, TITLE_INFO, TEXT_ALREADY_RUNNING, {IDOK}, IDOK);
            EXPECT_EQ(ExitCode(&run), 0u);
            EXPECT_EQ(GameFiles(run), SampleFiles(SampleLayout::Original, false));
            (void)CloseHandle(held);
        }
        if (c.then == SECOND_THROUGH_ALIAS) {
            second = {run.root, run.root / ALIAS, {}};
            ASSERT_TRUE(StartProgram(&second));
            AnswerBox(second, TITLE_INFO, TEXT_ALREADY_RUNNING, {IDOK}, IDOK);
            EXPECT_EQ(ExitCode(&second), 0u);
        }
        if (c.then == SECOND_LEFT_OPEN_FIRST_KILLED_THIRD_STARTS) {
            second = {run.root, run.game, {}};
            ASSERT_TRUE(StartProgram(&second));
            HWND refusal = nullptr;
            ASSERT_TRUE(PollUntil([&] { return (refusal = FindMessageBox(second)) != nullptr; }));
            ASSERT_EQ(ReadMessageBox(refusal).text, TEXT_ALREADY_RUNNING);
            // Killed: the refusal is owned by the first copy's window, which it disables.
            ASSERT_TRUE(TerminateProcess(run.process.hProcess, 1));
            EXPECT_EQ(ExitCode(&run), 1u);
            third = {run.root, run.game, {}};
            ASSERT_TRUE(StartProgram(&third));
            ASSERT_TRUE(PollUntil([&] { return (window = FindMainWindow(third)) != nullptr; }));
            EXPECT_TRUE(StateReads(window, CAPTION_ORIGINAL));
        }
        // Only the Unix side removes a link (Wine would delete what the alias leads to).
        EXPECT_TRUE(LookupError(run.game, MOD_MARKER) != ERROR_CANT_RESOLVE_FILENAME ||
                    RunUnix(run.game, L"/bin/rm " + MOD_MARKER, MOD_MARKER, false));
        EXPECT_TRUE(LookupError(run.root, ALIAS) == ERROR_FILE_NOT_FOUND ||
                    RunUnix(run.root, L"/bin/rm " + ALIAS, ALIAS, false));
        if (HasFailure())
            break; // a failing row waits out its timeouts: one is enough to tell
    }
}

} // namespace
