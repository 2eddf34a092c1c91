// The Windows primitives and the lock where Windows answers what Wine cannot show, through
// stand-ins beneath them that answer as Windows does; and a file Wine really holds.

#include <gtest/gtest.h>

#include "app/program.h"
#include "driver/driver.h"
#include "fileset/file_primitives.h"
#include "fileset/program_directory_win32.h"
#include "fileset/system_calls_win32.h"
#include "tests/inventory.h"

namespace {

const char LIVE[] = "live.dat", ORI[] = "ORI!live.dat", MOD[] = "MOD!live.dat",
           TMP[] = "TMP!ORI!live.dat";
constexpr DWORD FOREVER = INFINITE, UNREADABLE = INVALID_FILE_ATTRIBUTES;
constexpr DWORD FILE = FILE_ATTRIBUTE_ARCHIVE, READ_ONLY = FILE_ATTRIBUTE_READONLY | FILE,
                LINK = FILE_ATTRIBUTE_REPARSE_POINT | FILE, DIRECTORY = FILE_ATTRIBUTE_DIRECTORY;
using Failure = FileFailure;

// What the stand-ins answer where they do not pass a call on. held: a name whose deletion is
// pending while another program holds the file open; until the stand-in's sleeps add up to
// heldMs, its attributes read shown (or access denied) and every move or delete of it is
// denied.
struct Windows {
    const char* held = nullptr;
    DWORD heldMs = 0;
    DWORD shown = UNREADABLE;
    DWORD flushRefusal = 0;
    DWORD slept = 0;
} windows;
std::string mutexName; // the lock's, as made

// Where Windows says a name leads: live.dat shows a reparse tag, or every final path asked
// in form (0: any) that holds of (nullptr: any) gets before put in front; no drive letter
// answers where the volume has none.
struct Leads {
    DWORD tag = 0;
    const wchar_t* before = L"";
    const wchar_t* of = nullptr;
    DWORD form = 0;
    bool noDosName = false;
} leads;

bool IsLive(LPCWSTR path) {
    return std::filesystem::path(path).filename() == LIVE;
}
template <typename Entry> BOOL ShowTag(BOOL found, Entry* entry) {
    if (found && leads.tag && IsLive(entry->cFileName)) {
        entry->dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
        entry->dwReserved0 = leads.tag;
    }
    return found;
}

// Whether Windows denies a call on path (the last error then set): a name held, or a
// read-only file where a replace is asked for, which Wine, unlike Windows, allows.
bool Denied(LPCWSTR path, bool replace = false) {
    DWORD attributes = replace ? GetFileAttributesW(path) : UNREADABLE;
    bool denied = (windows.held && windows.slept < windows.heldMs &&
                   std::filesystem::path(path).filename() == windows.held) ||
                  (attributes != UNREADABLE && (attributes & FILE_ATTRIBUTE_READONLY));
    SetLastError(denied ? ERROR_ACCESS_DENIED : GetLastError());
    return denied;
}

// The real calls but where Windows answers otherwise than Wine, and where a test looks on.
const SystemCalls* StandIns() {
    static SystemCalls calls = System(); // first asked before any stand-in is in use
    calls.GetFileAttributesW = [](LPCWSTR path) {
        return Denied(path) ? windows.shown : GetFileAttributesW(path);
    };
    calls.MoveFileW = [](LPCWSTR from, LPCWSTR to) {
        return Denied(to) ? FALSE : MoveFileW(from, to);
    };
    calls.MoveFileExW = [](LPCWSTR from, LPCWSTR to, DWORD flags) {
        return Denied(to, true) ? FALSE : MoveFileExW(from, to, flags);
    };
    calls.DeleteFileW = [](LPCWSTR path) { return Denied(path) ? FALSE : DeleteFileW(path); };
    calls.FlushFileBuffers = [](HANDLE file) {
        SetLastError(windows.flushRefusal);
        return windows.flushRefusal ? FALSE : FlushFileBuffers(file);
    };
    calls.Sleep = [](DWORD ms) { windows.slept += ms; };
    calls.GetFileAttributesExW = [](LPCWSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID data) {
        BOOL found = GetFileAttributesExW(path, level, data);
        if (found && leads.tag && IsLive(path))
            static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(data)->dwFileAttributes |=
                FILE_ATTRIBUTE_REPARSE_POINT;
        return found;
    };
    calls.FindFirstFileExW = [](LPCWSTR path, FINDEX_INFO_LEVELS level, LPVOID data,
                                FINDEX_SEARCH_OPS search, LPVOID filter, DWORD flags) {
        HANDLE found = FindFirstFileExW(path, level, data, search, filter, flags);
        (void)ShowTag(found != INVALID_HANDLE_VALUE, static_cast<WIN32_FIND_DATAW*>(data));
        return found;
    };
    calls.FindNextFileW = [](HANDLE search, LPWIN32_FIND_DATAW data) {
        return ShowTag(FindNextFileW(search, data), data);
    };
    calls.CreateFileW = [](LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                           DWORD disposition, DWORD flags, HANDLE model) {
        return Denied(path) ? INVALID_HANDLE_VALUE
                            : CreateFileW(path, access, share, security, disposition, flags, model);
    };
    calls.GetFinalPathNameByHandleW = [](HANDLE file, LPWSTR out, DWORD size, DWORD form) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        DWORD got = leads.noDosName && form == VOLUME_NAME_DOS
                        ? 0
                        : GetFinalPathNameByHandleW(file, out, size, form);
        std::wstring path = leads.before + std::wstring(out, got < size ? got : 0);
        bool away = got && got < size && (!leads.form || form == leads.form) &&
                    path.find(leads.of ? leads.of : L"") != std::wstring::npos;
        return away && lstrcpynW(out, path.c_str(), size) ? static_cast<DWORD>(path.size()) : got;
    };
    calls.CreateMutexA = [](LPSECURITY_ATTRIBUTES security, BOOL owned, LPCSTR name) {
        mutexName = name;
        return CreateMutexA(security, owned, nullptr); // holds no lock beyond the test
    };
    return &calls;
}

enum Operation { RENAME, REMOVE, COPY };

// live.dat and ORI!live.dat in a directory of their own beside the test program, beneath the
// stand-ins.
class WindowsPrimitives : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(LocateProgramDirectory());
        dir = "primitives-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(GetTickCount64());
        ASSERT_TRUE(std::filesystem::create_directory(Host("")) && WriteFile(Host(LIVE), "live") &&
                    WriteFile(Host(ORI), "original"));
        SetSystemCalls(StandIns());
        StartRetryBudget();
    }
    void TearDown() override {
        SetSystemCalls(nullptr);
        (void)SetFileAttributesW(Host(ORI).c_str(), FILE_ATTRIBUTE_NORMAL); // else it stays
        std::error_code error;
        std::filesystem::remove_all(Host(""), error);
    }
    // A name in the test's directory, as the primitives take it and as the host spells it.
    std::string In(const char* name) const { return dir + "\\" + name; }
    std::filesystem::path Host(const char* name) const {
        return std::filesystem::path(ProgramDirectoryPath()) / dir / name;
    }
    // Renames live.dat to MOD!live.dat, deletes ORI!live.dat or copies live.dat over it.
    FileFailure Perform(Operation operation) const {
        if (operation == RENAME)
            return FileRename(In(LIVE).c_str(), In(MOD).c_str());
        return operation == REMOVE ? FileDelete(In(ORI).c_str())
                                   : FileCopy(In(LIVE).c_str(), In(ORI).c_str());
    }
    std::string dir;
};

// A name being deleted is waited for like a moment's hold, a second per call and five per
// command; a directory or a read-only file that stays read-only refuses for good at once.
// Every operation waits in the same loop, so a hold that never ends is shown on the delete
// alone, at the end.
TEST_F(WindowsPrimitives, ADeletePendingFailsAtOnceOrIsWaitedForBeyondTheBudget) {
    const struct {
        Operation operation;
        Windows windows;
        FileFailure expected;
        DWORD slept;
    } cases[] = {
        {RENAME, {MOD, 300}, Failure::None, 300},
        {REMOVE, {ORI, 300}, Failure::None, 300},
        {COPY, {ORI, 300}, Failure::None, 300},
        {COPY, {TMP, 300}, Failure::None, 300},
        {COPY, {TMP, FOREVER}, Failure::Exists, 1000}, // still not a name to write to
        {REMOVE, {ORI, FOREVER, DIRECTORY}, Failure::AccessDenied, 0},
        {REMOVE, {ORI, FOREVER, READ_ONLY}, Failure::AccessDenied, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        TearDown();
        SetUp();
        windows = c.windows;
        EXPECT_EQ(Perform(c.operation), c.expected);
        EXPECT_EQ(windows.slept, c.slept);
    }
    // Held for good: five calls wait a second each, then the command's budget is spent.
    windows = {ORI, FOREVER};
    StartRetryBudget();
    for (DWORD call = 1; call <= 6; ++call) {
        EXPECT_EQ(Perform(REMOVE), Failure::AccessDenied);
        EXPECT_EQ(windows.slept, 1000 * (call < 5 ? call : 5)) << call;
    }
}

// Whatever the platform refuses, the old copy stays as it was and no temporary file stays.
// ORI!live.dat is read-only, which Windows refuses to replace or delete.
TEST_F(WindowsPrimitives, AReadOnlyOrAReparsePointOrAFlushRefusedLosesTheOldCopyOrLeavesATrace) {
    const struct {
        Operation operation;
        Windows windows;
        FileFailure expected;
        const char* original; // afterwards; nullptr: deleted
        DWORD attributes;     // of ORI!live.dat afterwards
    } cases[] = {
        {COPY, {}, Failure::None, "live", FILE},
        {REMOVE, {}, Failure::None, nullptr, UNREADABLE},
        // Still refused once the read-only bit is cleared: it is set again.
        {COPY, {ORI, FOREVER, READ_ONLY}, Failure::AccessDenied, "original", READ_ONLY},
        {REMOVE, {ORI, FOREVER, READ_ONLY}, Failure::AccessDenied, "original", READ_ONLY},
        {COPY, {TMP, FOREVER, LINK}, Failure::Exists, "original", READ_ONLY},
        {COPY, {TMP, FOREVER, DIRECTORY}, Failure::Exists, "original", READ_ONLY},
        {COPY, {nullptr, 0, 0, ERROR_DISK_FULL}, Failure::DiskFull, "original", READ_ONLY},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        TearDown();
        SetUp();
        ASSERT_TRUE(SetFileAttributesW(Host(ORI).c_str(), READ_ONLY));
        windows = c.windows;
        EXPECT_EQ(Perform(c.operation), c.expected);
        FileTree expected = {{LIVE, "live"}};
        if (c.original)
            expected[ORI] = c.original;
        EXPECT_EQ(SnapshotTree(Host("")), expected);
        EXPECT_EQ(GetFileAttributesW(Host(ORI).c_str()), c.attributes);
    }
}

NameLook* PlaceLive(void* look, const char* name) {
    return std::string(name) == LIVE ? static_cast<NameLook*>(look) : nullptr;
}

// A link shows by its tag or where a handle on it leads (its folder's volume included), a
// name that cannot be opened is unreadable for that reason, and a game directory that itself
// lies behind a link is no link: the probe and a listing agree.
TEST_F(WindowsPrimitives, ALinkPassesForAFileOrAGameDirectoryBehindOneForALink) {
    const NameLook LINKED = {NameKind::Link, Failure::None},
                   PLAIN = {NameKind::File, Failure::None};
    const struct {
        Leads leads;
        int probe;
        NameLook look;
        Windows windows = {};
    } cases[] = {
        {{IO_REPARSE_TAG_SYMLINK}, PROBE_LINK, LINKED},
        {{IO_REPARSE_TAG_DEDUP}, 4, PLAIN},
        {{0, L"\\store", L"live.dat"}, PROBE_LINK, LINKED},
        // The folder on another volume, at the same path there.
        {{0, L"\\Device\\Other", L"primitives-", VOLUME_NAME_NT}, PROBE_LINK, LINKED},
        // Its deletion pending, a name opens for no one.
        {{}, PROBE_UNREADABLE, {NameKind::Unreadable, Failure::AccessDenied}, {LIVE, FOREVER}},
        {{0, L"\\linked"}, 4, PLAIN},
        {{0, L"", nullptr, 0, true}, 4, PLAIN}, // a RAM disk
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        TearDown();
        SetUp(); // a newly located directory asks its own final path again
        leads = c.leads;
        windows = c.windows;
        EXPECT_EQ(FileProbe(In(LIVE).c_str()), c.probe);
        EXPECT_EQ(FileProbeFailure(In(LIVE).c_str()), c.look.reason);
        NameLook look = {NameKind::Absent, Failure::None};
        EXPECT_EQ(FileListFolder(dir.c_str(), PlaceLive, &look), Failure::None);
        EXPECT_EQ(look.kind, c.look.kind);
        EXPECT_EQ(look.reason, c.look.reason);
    }
}

// Copies in other users' sessions see a lock only in the global namespace.
TEST_F(WindowsPrimitives, TheLockIsNamedOutsideTheGlobalNamespace) {
    EXPECT_TRUE(LockGameDirectory());
    EXPECT_EQ(mutexName.rfind("Global\\", 0), 0u) << mutexName;
}

// A file Wine really holds (as the game or a virus scanner does, without sharing) is waited
// for about a second in real time, then told as in use.
TEST_F(WindowsPrimitives, AFileReallyHeldIsNotWaitedForOrNotToldAsInUse) {
    SetSystemCalls(nullptr);
    HANDLE file = CreateFileW(Host(LIVE).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, 0);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(Perform(RENAME), FileFailure::InUse);
    ULONGLONG waited = GetTickCount64() - start;
    EXPECT_GE(waited, 980u); // the tick counts in steps of up to 16 ms
    EXPECT_LT(waited, 3000u);
    (void)CloseHandle(file);
}

} // namespace
