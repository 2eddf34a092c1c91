// The Windows primitives themselves on the real file system: a read-only file, a directory
// in a copy's way, and a file another program holds for a moment or for good.

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "driver/driver.h"
#include "fileset/file_primitives.h"
#include "fileset/program_directory_win32.h"

namespace {

// The primitives work beside this test program; each test in a directory of its own.
class WindowsPrimitives : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(LocateProgramDirectory());
        dir = "primitives-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(GetTickCount64());
        ASSERT_TRUE(std::filesystem::create_directory(Host("")));
    }
    void TearDown() override {
        SetFileFaultHook(nullptr);
        std::error_code error;
        std::filesystem::remove_all(Host(""), error);
    }
    // A name in the test's directory, as the primitives take it.
    std::string Path(const std::string& name) const { return dir + "\\" + name; }
    std::filesystem::path Host(const std::string& name) const {
        return std::filesystem::path(ProgramDirectoryPath()) / dir / name;
    }
    std::string dir;
};

// Windows refuses to delete a read-only file, and so does Wine. (Wine replaces a read-only
// target itself, so a copy over one would catch nothing here.)
TEST_F(WindowsPrimitives, AReadOnlyFileIsDeleted) {
    ASSERT_TRUE(WriteFile(Host("MOD!handling.dat"), "modified"));
    ASSERT_TRUE(SetFileAttributesW(Host("MOD!handling.dat").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(FileDelete(Path("MOD!handling.dat").c_str()), FileFailure::None);
    EXPECT_FALSE(std::filesystem::exists(Host("MOD!handling.dat")));
}

// Windows looks at the temporary name through its own calls: a directory there is left
// alone too, and the old copy stays.
TEST_F(WindowsPrimitives, ADirectoryAtACopysTemporaryNameIsLeftAlone) {
    ASSERT_TRUE(WriteFile(Host("handling.dat"), "live"));
    ASSERT_TRUE(WriteFile(Host("ORI!handling.dat"), "the only original"));
    ASSERT_TRUE(WriteFile(Host("TMP!ORI!handling.dat") / "inside", "inside"));
    EXPECT_EQ(FileCopy(Path("handling.dat").c_str(), Path("ORI!handling.dat").c_str()),
              FileFailure::Exists);
    EXPECT_EQ(ReadFile(Host("ORI!handling.dat")), "the only original");
    EXPECT_EQ(ReadFile(Host("TMP!ORI!handling.dat") / "inside"), "inside");
}

// As the game or a virus scanner holds a file: without sharing.
HANDLE Hold(const std::filesystem::path& file) {
    return CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

// A moment's hold is waited out; a lasting one fails after about a second, and a command
// stops waiting after about five in all, so that a switch of 185 held files does not hang
// for minutes.
TEST_F(WindowsPrimitives, AHeldFileIsWaitedForAMomentButNotForLong) {
    ASSERT_TRUE(WriteFile(Host("handling.dat"), "live"));
    const std::string from = Path("handling.dat"), to = Path("ORI!handling.dat");
    HANDLE file = Hold(Host("handling.dat"));
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    // Held since before the rename, until 300 ms after start.
    StartRetryBudget();
    ULONGLONG start = GetTickCount64();
    std::thread release([file] {
        Sleep(300);
        (void)CloseHandle(file);
    });
    EXPECT_EQ(FileRename(from.c_str(), to.c_str()), FileFailure::None);
    EXPECT_GE(GetTickCount64() - start, 280u); // the tick counts in steps of up to 16 ms
    release.join();
    EXPECT_EQ(ReadFile(Host("ORI!handling.dat")), "live");

    // Held for good: five calls wait about a second each, then the command's budget is
    // spent and the sixth answers at once.
    file = Hold(Host("ORI!handling.dat"));
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    StartRetryBudget();
    for (int call = 0; call < 6; ++call) {
        SCOPED_TRACE(call);
        start = GetTickCount64();
        EXPECT_EQ(FileRename(to.c_str(), from.c_str()), FileFailure::InUse);
        ULONGLONG waited = GetTickCount64() - start;
        EXPECT_GE(waited, call < 5 ? 900u : 0u);
        EXPECT_LT(waited, call < 5 ? 3000u : 500u);
    }
    (void)CloseHandle(file);
    EXPECT_EQ(ReadFile(Host("ORI!handling.dat")), "live");
}

} // namespace
