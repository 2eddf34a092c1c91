// The managed file table and the bulk operations, row by row, against real files.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>

#include "fileset/bulk_operations.h"
#include "fileset/file_table.h"
#include "sample/sample_game.h"
#include "tests/native/game_test.h"

namespace {

TEST(ManagedFileTable, RowsCheckedByHandAndTheShapeOfTheWhole) {
    const std::pair<int, const char*> rows[] = {
        {1, "common\\data\\action_table.csv"},
        {29, "common\\data\\gtarainemitter.xml"},
        {70, "common\\data\\popcycle.dat"},
        {71, "common\\data\\popcycle.datnew"},
        {95, "common\\data\\worldblanket.dat"},
        {96, "common\\data\\cdimages\\carrec.img"},
        {138, "common\\data\\decision\\combat\\template.cmb"},
        {163, "pc\\stream.ini"},
        {164, "pc\\data\\filelist.pak"},
        {167, "pc\\data\\radiohud.dat"},
        {176, "pc\\data\\effects\\gtastormrender.xml"},
        {177, "pc\\data\\effects\\gta_core.wpfl"},
        {184, "pc\\data\\paths\\distantlights.dat"},
        {185, "files.txt"},
    };
    for (const auto& [number, path] : rows)
        EXPECT_STREQ(ManagedFileTable[number - 1].livePath, path) << number;
    std::set<std::string> paths;
    size_t longestParked = 0;
    for (int number = 1; number <= MANAGED_FILE_COUNT; ++number) {
        const ManagedFile& row = ManagedFileTable[number - 1];
        std::string path = row.livePath;
        EXPECT_TRUE(paths.insert(path).second) << path;
        EXPECT_EQ(row.switchOnly, number == 164 || number == 185) << path;
        EXPECT_TRUE(path.size() >= 9 && path.size() <= 41) << path;
        EXPECT_EQ(path.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos) << path;
        longestParked = std::max(longestParked, Parked(row.livePath, PREFIX_ORIGINAL).size());
    }
    EXPECT_EQ(longestParked, 45u);
    EXPECT_EQ(Parked("common\\data\\handling.dat", PREFIX_MODIFIED),
              "common\\data\\MOD!handling.dat");
    EXPECT_EQ(Parked("files.txt", PREFIX_ORIGINAL), "ORI!files.txt");
}

using BulkOperations = GameTest;

// Each row's outcome depends only on which of its names exist and which call fails.
TEST_F(BulkOperations, EachRowOfASwitchEndsAsItsFilesAndFailuresSay) {
    struct Direction {
        void (*run)(FailedFiles*);
        const char* park;  // where the live file goes
        const char* bring; // what comes live
    } const directions[] = {{SwitchToModified, PREFIX_ORIGINAL, PREFIX_MODIFIED},
                            {SwitchToOriginal, PREFIX_MODIFIED, PREFIX_ORIGINAL}};
    enum Fault { NONE, PARKING, BRINGING };
    // The live name, the name it is parked under, the name that comes live: a file with
    // that letter as content, 'D' a directory, 'U' a file named in upper case, '-' none.
    struct {
        const char* before;
        Fault fault;
        FileFailure reason;
        const char* after;
    } const cases[] = {
        {"L-B", NONE, FileFailure::None, "BL-"},
        {"LPB", NONE, FileFailure::None, "LPB"}, // reported: the live name stays taken
        {"LP-", NONE, FileFailure::None, "LP-"},
        {"L--", NONE, FileFailure::None, "-L-"},
        {"--B", NONE, FileFailure::None, "B--"},
        {"-PB", NONE, FileFailure::None, "BP-"},
        {"---", NONE, FileFailure::None, "---"},
        {"D-B", NONE, FileFailure::None, "BD-"},
        {"U-B", NONE, FileFailure::None, "BU-"},
        {"L-B", PARKING, FileFailure::InUse, "L-B"},
        {"L-B", PARKING, FileFailure::Other, "L-B"},
        {"L-B", BRINGING, FileFailure::AccessDenied, "-LB"},
    };
    for (const Direction& direction : directions) {
        for (int row : {34, 164, 185}) {
            const char* live = ManagedFileTable[row - 1].livePath;
            const std::string names[3] = {live, Parked(live, direction.park),
                                          Parked(live, direction.bring)};
            for (const auto& c : cases) {
                SCOPED_TRACE(names[2] + ": " + c.before + " -> " + c.after);
                Fresh();
                for (int i = 0; i < 3; ++i) {
                    std::string name = names[i];
                    if (c.before[i] == 'U')
                        for (size_t at = name.rfind('\\') + 1; at < name.size(); ++at)
                            name[at] = static_cast<char>(std::toupper(name[at]));
                    if (c.before[i] == 'D')
                        Write(name + "\\inside", "D");
                    else if (c.before[i] != '-')
                        Write(name, std::string(1, c.before[i]));
                }
                std::string faulty = c.fault == PARKING ? names[0] : names[2];
                InjectFaults({{FileOperation::Rename, c.fault == NONE ? "" : faulty, c.reason}});
                FailedFiles failed;
                ClearFailedFiles(&failed);

                direction.run(&failed);

                for (int i = 0; i < 3; ++i) {
                    std::string expected = c.after[i] == '-' ? ABSENT : std::string(1, c.after[i]);
                    EXPECT_EQ(Read(c.after[i] == 'D' ? names[i] + "\\inside" : names[i]), expected)
                        << names[i];
                }
                bool blocked = std::strcmp(c.before, "LPB") == 0;
                ASSERT_EQ(failed.count, c.fault != NONE || blocked ? 1 : 0);
                if (failed.count == 1) {
                    EXPECT_STREQ(failed.files[0].path, live);
                    EXPECT_EQ(failed.files[0].reason, blocked ? FileFailure::Exists : c.reason);
                    EXPECT_STREQ(failed.files[0].other, "");
                }
            }
        }
    }
}

TEST_F(BulkOperations, BackupCopiesEveryLiveFileOverItsOldCopyAndListsWhatFailed) {
    ASSERT_TRUE(MakeSampleGame(root, SampleLayout::Fresh, false));
    Write("common\\data\\ORI!handling.dat", "stale");
    std::filesystem::remove(root / "pc/stream.ini");
    std::filesystem::remove(root / "common/data/ambient.dat");
    Write("common\\data\\ambient.dat\\inside", "a directory");
    InjectFaults({{FileOperation::Copy, "common\\data\\gta.dat", FileFailure::DiskFull}});
    FailedFiles failed;
    ClearFailedFiles(&failed);

    BackupOriginals(&failed);

    FileTree expected = Tree();
    for (const ManagedFile& row : ManagedFileTable)
        if (!row.switchOnly)
            expected[Slashed(Parked(row.livePath, PREFIX_ORIGINAL))] =
                OriginalContent(row.livePath);
    for (const char* absent :
         {"pc/ORI!stream.ini", "common/data/ORI!ambient.dat", "common/data/ORI!gta.dat"})
        expected.erase(absent);
    EXPECT_EQ(Tree(), expected);
    ASSERT_EQ(failed.count, 2);
    EXPECT_STREQ(failed.files[0].path, "common\\data\\ambient.dat");
    EXPECT_EQ(failed.files[0].reason, FileFailure::Other);
    EXPECT_STREQ(failed.files[1].path, "common\\data\\gta.dat");
    EXPECT_EQ(failed.files[1].reason, FileFailure::DiskFull);
}

// Only a MOD! copy with an original live beside it may go: any other may be the last copy.
TEST_F(BulkOperations, RemovalDeletesOnlyModifiedCopiesBesideALiveFile) {
    ASSERT_TRUE(MakeSampleGame(root, SampleLayout::Original, false));
    std::filesystem::remove(root / "common/data/ambient.dat");
    std::filesystem::remove(root / "common/data/gta.dat");
    Write("common\\data\\gta.dat\\inside", "a directory");
    FileTree kept = Tree();
    InjectFaults({{FileOperation::Probe, "pc\\stream.ini", FileFailure::InUse},
                  {FileOperation::Delete, "pc\\data\\MOD!timecyc.dat", FileFailure::AccessDenied}});
    FailedFiles failed;
    ClearFailedFiles(&failed);

    RemoveModifiedSet(&failed);

    const std::vector<std::string> listed = {"common\\data\\MOD!ambient.dat",
                                             "common\\data\\MOD!gta.dat", "pc\\MOD!stream.ini",
                                             "pc\\data\\MOD!timecyc.dat"};
    ASSERT_EQ(failed.count, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(failed.files[i].path, listed[i]);
        EXPECT_EQ(failed.files[i].reason,
                  i < 3 ? FileFailure::KeptOnlyCopy : FileFailure::AccessDenied);
    }
    for (const ManagedFile& row : ManagedFileTable) {
        std::string parked = Parked(row.livePath, PREFIX_MODIFIED);
        if (!row.switchOnly && std::count(listed.begin(), listed.end(), parked) == 0)
            kept.erase(Slashed(parked));
    }
    EXPECT_EQ(Tree(), kept);
}

} // namespace
