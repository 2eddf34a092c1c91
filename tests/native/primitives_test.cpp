// The POSIX primitives behave as the Windows file system the game lives on.

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fileset/file_primitives.h"
#include "tests/native/game_test.h"

namespace {

using Primitives = GameTest;

// Where a rename must fail: the target exists, in any letter case, as a file or directory.
TEST_F(Primitives, RenameNeverReplacesATargetOfAnyLetterCase) {
    const char* const targets[] = {"b.dat", "B.DAT", "b.dat\\inside"};
    for (const char* target : targets) {
        Fresh();
        Write("a.dat", "a");
        Write(target, "target");
        FileTree before = Tree();
        EXPECT_FALSE(FileRename("a.dat", "b.dat")) << target;
        EXPECT_EQ(LastFileFailure(), FileFailure::Exists) << target;
        EXPECT_EQ(Tree(), before) << target;
    }
}

// Names match in any letter case, as on Windows. The reason decides whether a bulk
// operation reports a failure: "missing" must mean it.
TEST_F(Primitives, NamesMatchInAnyCaseAndEachFailureTellsItsReason) {
    Write("PC\\Data\\FileList.PAK", "list");
    Write("Common\\", "");
    struct {
        bool (*call)();
        FileFailure reason;
    } const calls[] = {
        {[] { return FileRename("pc\\data\\filelist.pak", "common\\moved.pak"); },
         FileFailure::None},
        {[] { return FileRename("pc\\data\\filelist.pak", "common\\again.pak"); },
         FileFailure::Missing},
        {[] { return FileRename("common\\moved.pak", "nowhere\\moved.pak"); },
         FileFailure::Missing},
        {[] { return FileCopy("missing.dat", "common\\copy.dat"); }, FileFailure::Missing},
        {[] { return FileCopy("common", "common\\copy.dat"); }, FileFailure::Other},
        {[] { return FileCopy("common\\moved.pak", "common"); }, FileFailure::Other},
        {[] { return FileDelete("common"); }, FileFailure::Other},
        {[] { return FileDelete("common\\copy.dat"); }, FileFailure::Missing},
    };
    for (const auto& c : calls) {
        EXPECT_EQ(c.call(), c.reason == FileFailure::None);
        EXPECT_EQ(LastFileFailure(), c.reason);
    }
    EXPECT_EQ(Tree(), (FileTree{{"Common/moved.pak", "list"}}));
    // The exact name wins where both spellings exist.
    Write("Common\\MOVED.PAK", "other");
    EXPECT_TRUE(FileDelete("Common\\moved.pak"));
    EXPECT_EQ(Tree(), (FileTree{{"Common/MOVED.PAK", "other"}}));
}

TEST_F(Primitives, ProbeAnswersSizeDirectoryMissingOrUnreadable) {
    Write("pc\\data\\", "");
    ASSERT_EQ(symlink("loop", (root / "loop").c_str()), 0);
    EXPECT_EQ(FileProbe("pc\\data"), PROBE_DIRECTORY);
    EXPECT_EQ(FileProbe("pc\\data\\missing.dat"), PROBE_MISSING);
    EXPECT_EQ(FileProbe("nowhere\\at\\all.dat"), PROBE_MISSING);
    // There, but the lookup fails: present, yet not a file.
    EXPECT_EQ(FileProbe("loop"), PROBE_UNREADABLE);
    // Sparse files; the low 32 bits of some of these sizes would read as negative.
    const long long sizes[][2] = {{2147483647LL, 2147483647},
                                  {2147483648LL, PROBE_SIZE_LIMIT},
                                  {4294967295LL, PROBE_SIZE_LIMIT},
                                  {5LL * 1024 * 1024 * 1024 + 7, PROBE_SIZE_LIMIT}};
    Write("big.img", "");
    for (const auto& size : sizes) {
        ASSERT_EQ(truncate((root / "big.img").c_str(), size[0]), 0);
        EXPECT_EQ(FileProbe("big.img"), size[1]) << size[0];
    }
}

std::string Pattern(size_t size) {
    std::string content(size, '\0');
    for (size_t i = 0; i < size; ++i)
        content[i] = static_cast<char>(i * 131 + i / 977);
    return content;
}

TEST_F(Primitives, CopyReplacesItsTargetWithContentAndModeAndLeavesNoTemporaryFile) {
    const std::string content = Pattern(3 * 1024 * 1024 + 7);
    Write("common\\data\\handling.dat", content);
    ASSERT_EQ(chmod((root / "common/data/handling.dat").c_str(), 0440), 0);
    Write("common\\data\\ORI!Handling.DAT", "stale original");
    // Left by a copy killed half-way, read-only as its source was.
    Write("common\\data\\TMP!ORI!handling.dat", "half");
    ASSERT_EQ(chmod((root / "common/data/TMP!ORI!handling.dat").c_str(), 0440), 0);

    EXPECT_TRUE(FileCopy("common\\data\\handling.dat", "common\\data\\ORI!handling.dat"));
    EXPECT_EQ(Tree(), (FileTree{{"common/data/handling.dat", content},
                                {"common/data/ORI!Handling.DAT", content}}));
    struct stat status;
    ASSERT_EQ(stat((root / "common/data/ORI!Handling.DAT").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0440u);
}

// A write that fails in the middle, as on a full disk, must not cost the old copy.
TEST_F(Primitives, ACopyThatFailsHalfWayLeavesTheOldTargetAsItWas) {
    Write("common\\data\\handling.dat", Pattern(3 * 1024 * 1024));
    Write("common\\data\\ORI!handling.dat", "the only original");
    FileTree before = Tree();
    rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit limit = {1024 * 1024, old.rlim_max};
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);

    bool copied = FileCopy("common\\data\\handling.dat", "common\\data\\ORI!handling.dat");
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &old), 0);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(copied);
    EXPECT_EQ(Tree(), before);
}

} // namespace
