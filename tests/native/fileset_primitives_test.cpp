#include "fileset/file_primitives.h"
#include "fileset/program_directory_posix.h"
#include "tests/native/temp_game_dir.h"

#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using FilePrimitives = TempGameDir;

TEST_F(FilePrimitives, RenameNeverReplacesAnExistingTarget) {
    struct {
        bool sourceIsDirectory;
        const char* targetOnDisk;
        bool targetIsDirectory;
    } const cases[] = {
        {false, "b.dat", false}, {false, "B.DAT", false}, {false, "b.dat", true},
        {true, "b.dat", false},  {true, "b.dat", true},   {true, "B.Dat", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sourceIsDirectory << " onto " << c.targetOnDisk
                                        << (c.targetIsDirectory ? "\\" : ""));
        FreshDirectory();
        WriteGameFile(c.sourceIsDirectory ? "a.dat\\inside" : "a.dat", "source");
        if (c.targetIsDirectory)
            MakeGameDirectory(c.targetOnDisk);
        else
            WriteGameFile(c.targetOnDisk, "target");
        auto before = Snapshot();

        EXPECT_FALSE(FileRename("a.dat", "b.dat"));
        EXPECT_EQ(LastFileFailure(), FileFailure::Exists);
        EXPECT_EQ(Snapshot(), before);
        EXPECT_TRUE(GameFileExists(c.targetOnDisk));
    }
}

TEST_F(FilePrimitives, EachCallTellsWhyItFailed) {
    WriteGameFile("pc\\data\\filelist.pak", "list");
    MakeGameDirectory("common");
    struct {
        bool (*call)();
        FileFailure failure;
    } const calls[] = {
        {[] { return FileRename("pc\\data\\filelist.pak", "common\\moved.pak"); },
         FileFailure::None},
        {[] { return FileRename("pc\\data\\filelist.pak", "common\\again.pak"); },
         FileFailure::Missing},
        {[] { return FileRename("common\\moved.pak", "nowhere\\moved.pak"); },
         FileFailure::Missing},
        {[] { return FileCopy("missing.dat", "common\\copy.dat"); }, FileFailure::Missing},
        {[] { return FileCopy("common\\moved.pak", "common"); }, FileFailure::Other},
        // Copying a file onto itself must not truncate it.
        {[] { return FileCopy("common\\moved.pak", "COMMON\\Moved.pak"); }, FileFailure::InUse},
        {[] { return FileDelete("common"); }, FileFailure::Other},
        {[] { return FileDelete("common\\copy.dat"); }, FileFailure::Missing},
    };
    for (const auto& c : calls) {
        EXPECT_EQ(c.call(), c.failure == FileFailure::None);
        EXPECT_EQ(LastFileFailure(), c.failure);
    }
    EXPECT_EQ(ReadGameFile("common\\moved.pak"), "list");
    EXPECT_FALSE(GameFileExists("common\\copy.dat"));
}

TEST_F(FilePrimitives, CopyReplacesTargetAndKeepsContentAndMode) {
    std::string content(3 * 1024 * 1024 + 7, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i * 131 + i / 977);
    WriteGameFile("common\\data\\handling.dat", content);
    ASSERT_EQ(chmod(HostPath("common\\data\\handling.dat").c_str(), 0640), 0);
    WriteGameFile("common\\data\\ORI!Handling.DAT", "stale original");

    EXPECT_TRUE(FileCopy("common\\data\\handling.dat", "common\\data\\ORI!handling.dat"));
    EXPECT_EQ(ReadGameFile("common\\data\\ORI!Handling.DAT"), content);
    EXPECT_FALSE(GameFileExists("common\\data\\ORI!handling.dat"));
    struct stat status;
    ASSERT_EQ(stat(HostPath("common\\data\\ORI!Handling.DAT").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST_F(FilePrimitives, NamesMatchWithoutRegardToLetterCase) {
    WriteGameFile("Common\\Data\\Handling.DAT", "12345");

    EXPECT_EQ(FileProbe("common\\data\\handling.dat"), 5);
    EXPECT_EQ(FileProbe("COMMON\\DATA"), PROBE_DIRECTORY);
    EXPECT_TRUE(FileRename("common\\data\\handling.dat", "common\\data\\ORI!handling.dat"));
    EXPECT_EQ(ReadGameFile("Common\\Data\\ORI!handling.dat"), "12345");
    EXPECT_TRUE(FileDelete("COMMON\\data\\ori!HANDLING.DAT"));
    EXPECT_FALSE(GameFileExists("Common\\Data\\ORI!handling.dat"));
    // The exact name wins where both spellings exist.
    WriteGameFile("Common\\Data\\handling.dat", "exact");
    WriteGameFile("Common\\Data\\HANDLING.DAT", "other");
    EXPECT_TRUE(FileDelete("Common\\Data\\handling.dat"));
    EXPECT_EQ(ReadGameFile("Common\\Data\\HANDLING.DAT"), "other");
}

TEST_F(FilePrimitives, ProbeAnswersSizeOrWhatIsThere) {
    MakeGameDirectory("pc\\data");
    EXPECT_EQ(FileProbe("pc\\data"), PROBE_DIRECTORY);
    EXPECT_EQ(FileProbe("pc\\data\\missing.dat"), PROBE_MISSING);
    EXPECT_EQ(FileProbe("nowhere\\at\\all.dat"), PROBE_MISSING);
    // Sparse files, among them sizes whose low 32 bits once read as -1, -2 or 0.
    const long long sizes[][2] = {
        {0, 0},
        {2147483647LL, 2147483647},
        {2147483648LL, PROBE_SIZE_LIMIT},
        {4294967294LL, PROBE_SIZE_LIMIT},
        {4294967295LL, PROBE_SIZE_LIMIT},
        {4294967296LL, PROBE_SIZE_LIMIT},
        {5LL * 1024 * 1024 * 1024 + 7, PROBE_SIZE_LIMIT},
    };
    WriteGameFile("big.img", "");
    for (const auto& size : sizes) {
        ASSERT_EQ(truncate(HostPath("big.img").c_str(), size[0]), 0);
        EXPECT_EQ(FileProbe("big.img"), size[1]) << size[0];
    }
}

FileOperation hookedOperation;
std::string hookedPaths;

FileFailure DenyEverything(FileOperation operation, const char* source, const char* target) {
    hookedOperation = operation;
    hookedPaths = std::string(source) + ">" + (target ? target : "");
    return FileFailure::AccessDenied;
}

TEST_F(FilePrimitives, FaultHookFailsACallBeforeItTouchesTheDisk) {
    WriteGameFile("a.dat", "a");
    WriteGameFile("b.dat", "b");
    SetFileFaultHook(DenyEverything);

    EXPECT_EQ(FileProbe("a.dat"), PROBE_MISSING);
    EXPECT_EQ(hookedOperation, FileOperation::Probe);
    EXPECT_FALSE(FileCopy("a.dat", "b.dat"));
    EXPECT_EQ(hookedPaths, "a.dat>b.dat");
    EXPECT_FALSE(FileRename("a.dat", "c.dat"));
    EXPECT_EQ(hookedOperation, FileOperation::Rename);
    EXPECT_FALSE(FileDelete("a.dat"));
    EXPECT_EQ(hookedPaths, "a.dat>");
    EXPECT_EQ(LastFileFailure(), FileFailure::AccessDenied);
    EXPECT_EQ(ReadGameFile("a.dat"), "a");
    EXPECT_EQ(ReadGameFile("b.dat"), "b");
    EXPECT_FALSE(GameFileExists("c.dat"));

    SetFileFaultHook(nullptr);
    EXPECT_TRUE(FileCopy("a.dat", "b.dat"));
    EXPECT_EQ(LastFileFailure(), FileFailure::None);
}

} // namespace
