// The POSIX primitives behave as the Windows file system the game lives on.

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "sample/sample_game.h"
#include "tests/native/game_test.h"

namespace {

using Primitives = GameTest;

// Names match in any letter case, as on Windows, and a rename never replaces, neither a file
// under another letter case nor a directory. The reason decides whether a bulk operation
// reports a failure: "missing" must mean it.
TEST_F(Primitives, NamesMatchInAnyCaseARenameNeverReplacesAndEachFailureTellsItsReason) {
    Write("PC\\Data\\FileList.PAK", "list");
    Write("Common\\TAKEN.PAK", "taken");
    Write("Common\\dir.pak\\inner.txt", "inner");
    EXPECT_EQ(FileRename("pc\\data\\filelist.pak", "common\\moved.pak"), FileFailure::None);
    EXPECT_EQ(FileRename("common\\moved.pak", "common\\Taken.pak"), FileFailure::Exists);
    EXPECT_EQ(FileRename("common\\moved.pak", "COMMON\\DIR.PAK"), FileFailure::Exists);
    EXPECT_EQ(FileRename("common\\moved.pak", "nowhere\\moved.pak"), FileFailure::Missing);
    EXPECT_EQ(FileCopy("missing.dat", "common\\copy.dat"), FileFailure::Missing);
    EXPECT_EQ(FileCopy("common", "common\\copy.dat"), FileFailure::Other);
    EXPECT_EQ(FileDelete("common\\copy.dat"), FileFailure::Missing);
    EXPECT_EQ(FlushGameDirectory(), FileFailure::None);
    EXPECT_EQ(Tree(), (FileTree{{"Common/moved.pak", "list"},
                                {"Common/TAKEN.PAK", "taken"},
                                {"Common/dir.pak/inner.txt", "inner"}}));
}

TEST_F(Primitives, ProbeAnswersSizeMissingDirectoryLinkOrUnreadable) {
    Write("Common\\Data\\handling.dat", "live");
    ASSERT_EQ(symlink("loop", (root / "loop").c_str()), 0);
    ASSERT_EQ(symlink("Common", (root / "linked").c_str()), 0);
    EXPECT_EQ(FileProbe("common\\data"), PROBE_DIRECTORY);
    EXPECT_EQ(FileProbe("common\\data\\gta.dat"), PROBE_MISSING);
    EXPECT_EQ(FileProbe("nowhere\\handling.dat"), PROBE_MISSING);
    // A link is never followed, nor is a folder that is one.
    EXPECT_EQ(FileProbe("loop"), PROBE_LINK);
    EXPECT_EQ(FileProbe("linked\\data\\handling.dat"), PROBE_LINK);
    EXPECT_EQ(FileProbe("linked\\data\\gta.dat"), PROBE_MISSING);
    // There, but the lookup fails: present, yet not a file.
    EXPECT_EQ(FileProbe("loop\\handling.dat"), PROBE_UNREADABLE);
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

// A copy takes its target's name, whatever letter case that has, only once the whole file is
// written and flushed. Whatever stops it (a link at its temporary name, a full disk) leaves
// the old target as it was, never overwrites, empties or writes through what is in the way,
// and leaves no temporary file.
TEST_F(Primitives, ACopyReplacesItsTargetWholeOrTouchesNothing) {
    const std::string content = Pattern(3 * 1024 * 1024 + 7);
    const std::filesystem::path outside = root.string() + "-outside";
    const char TEMPORARY[] = "common\\data\\TMP!ORI!handling.dat";
    // A folder at the temporary name and a flush that fails: the flow rows show them.
    enum Obstacle { STALE_COPY, LINK, DISK_FULL };
    const struct {
        Obstacle obstacle;
        FileFailure answer;
    } cases[] = {
        {STALE_COPY, FileFailure::None},
        {LINK, FileFailure::Exists},
        {DISK_FULL, FileFailure::Other}, // a file larger than the process may write
    };
    rlimit unlimited;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &unlimited), 0);
    const rlimit limited = {1024 * 1024, unlimited.rlim_max};
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.obstacle);
        Fresh();
        Write("common\\data\\handling.dat", content);
        Write("common\\data\\ORI!Handling.DAT", "the only original");
        ASSERT_TRUE(WriteFile(outside, "outside"));
        if (c.obstacle == STALE_COPY) { // left by a copy killed half-way, read-only as its source
            Write(TEMPORARY, "half");
            ASSERT_EQ(chmod(GamePath(root, TEMPORARY).c_str(), 0440), 0);
        }
        if (c.obstacle == LINK) {
            ASSERT_EQ(symlink(outside.c_str(), GamePath(root, TEMPORARY).c_str()), 0);
        }
        FileTree after = Tree(); // a link is listed with what it points to
        if (c.obstacle == STALE_COPY)
            after = {{"common/data/handling.dat", content},
                     {"common/data/ORI!Handling.DAT", content}};
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, c.obstacle == DISK_FULL ? &limited : &unlimited), 0);

        EXPECT_EQ(FileCopy("common\\data\\handling.dat", "common\\data\\ORI!handling.dat"),
                  c.answer);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &unlimited), 0);
        EXPECT_EQ(Tree(), after);
    }
    std::signal(SIGXFSZ, oldHandler);
    std::filesystem::remove(outside);
}

} // namespace
