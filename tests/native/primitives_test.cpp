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
    struct {
        FileFailure (*call)();
        FileFailure answer;
    } const calls[] = {
        {[] { return FileRename("pc\\data\\filelist.pak", "common\\moved.pak"); },
         FileFailure::None},
        {[] { return FileRename("common\\moved.pak", "common\\Taken.pak"); }, FileFailure::Exists},
        {[] { return FileRename("common\\moved.pak", "COMMON\\DIR.PAK"); }, FileFailure::Exists},
        {[] { return FileRename("common\\moved.pak", "nowhere\\moved.pak"); },
         FileFailure::Missing},
        {[] { return FileCopy("missing.dat", "common\\copy.dat"); }, FileFailure::Missing},
        {[] { return FileCopy("common", "common\\copy.dat"); }, FileFailure::Other},
        {[] { return FileDelete("common\\copy.dat"); }, FileFailure::Missing},
        {[] { return FlushGameDirectory(); }, FileFailure::None},
    };
    for (const auto& c : calls)
        EXPECT_EQ(c.call(), c.answer);
    // The exact name wins where both spellings exist.
    Write("Common\\MOVED.PAK", "other");
    EXPECT_EQ(FileDelete("Common\\moved.pak"), FileFailure::None);
    EXPECT_EQ(Tree(), (FileTree{{"Common/MOVED.PAK", "other"},
                                {"Common/TAKEN.PAK", "taken"},
                                {"Common/dir.pak/inner.txt", "inner"}}));
}

TEST_F(Primitives, ProbeAnswersSizeMissingDirectoryOrUnreadable) {
    Write("Common\\Data\\", "");
    ASSERT_EQ(symlink("loop", (root / "loop").c_str()), 0);
    const struct {
        const char* path;
        int answer;
    } probes[] = {
        {"common\\data", PROBE_DIRECTORY},
        {"common\\data\\handling.dat", PROBE_MISSING},
        {"nowhere\\handling.dat", PROBE_MISSING},
        // There, but the lookup fails: present, yet not a file.
        {"loop", PROBE_UNREADABLE},
    };
    for (const auto& probe : probes)
        EXPECT_EQ(FileProbe(probe.path), probe.answer) << probe.path;
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

TEST_F(Primitives, CopyReplacesItsTargetOfAnyCaseAndLeavesNoTemporaryFile) {
    const std::string content = Pattern(3 * 1024 * 1024 + 7);
    Write("common\\data\\handling.dat", content);
    Write("common\\data\\ORI!Handling.DAT", "stale original");
    // Left by a copy killed half-way, read-only as its source was.
    Write("common\\data\\TMP!ORI!handling.dat", "half");
    ASSERT_EQ(chmod((root / "common/data/TMP!ORI!handling.dat").c_str(), 0440), 0);

    EXPECT_EQ(FileCopy("common\\data\\handling.dat", "common\\data\\ORI!handling.dat"),
              FileFailure::None);
    EXPECT_EQ(Tree(), (FileTree{{"common/data/handling.dat", content},
                                {"common/data/ORI!Handling.DAT", content}}));
}

// A directory or link at the temporary name is never overwritten, emptied or written
// through; a copy whose flush fails leaves no temporary file. Either way the old target
// stays.
TEST_F(Primitives, ACopyThatCannotCompleteTouchesNothing) {
    const std::filesystem::path outside = root.string() + "-outside";
    const char* temporary = "common\\data\\TMP!ORI!handling.dat";
    const struct {
        const char* taken; // "dir" or "link" at the temporary name, else nothing
        FileFailure answer;
    } cases[] = {
        {"dir", FileFailure::Exists},
        {"link", FileFailure::Exists},
        {"", FileFailure::DiskFull}, // the flush fails
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.taken);
        Fresh();
        Write("common\\data\\handling.dat", "live");
        Write("common\\data\\ORI!handling.dat", "the only original");
        ASSERT_TRUE(WriteFile(outside, "outside"));
        if (c.taken == std::string("dir"))
            Write(std::string(temporary) + "\\inner.txt", "inner");
        if (c.taken == std::string("link")) {
            ASSERT_EQ(symlink(outside.c_str(), GamePath(root, temporary).c_str()), 0);
        }
        InjectFaults({{FileOperation::Flush, temporary, FileFailure::DiskFull}});
        const FileTree before = Tree();

        EXPECT_EQ(FileCopy("common\\data\\handling.dat", "common\\data\\ORI!handling.dat"),
                  c.answer);
        EXPECT_EQ(Tree(), before); // a link is listed with what it points to
    }
    std::filesystem::remove(outside);
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

    FileFailure answer = FileCopy("common\\data\\handling.dat", "common\\data\\ORI!handling.dat");
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &old), 0);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_NE(answer, FileFailure::None);
    EXPECT_EQ(Tree(), before);
}

} // namespace
