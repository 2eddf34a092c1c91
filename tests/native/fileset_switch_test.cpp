#include "fileset/bulk_operations.h"
#include "fileset/file_state.h"
#include "fileset/file_table.h"
#include "tests/native/temp_game_dir.h"

#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

struct Direction {
    const char* name;
    void (*run)(FailedFiles*);
    const char* parkPrefix;  // where the live file goes
    const char* bringPrefix; // what comes live
};
const Direction directions[] = {
    {"SwitchToModified", SwitchToModified, PREFIX_ORIGINAL, PREFIX_MODIFIED},
    {"SwitchToOriginal", SwitchToOriginal, PREFIX_MODIFIED, PREFIX_ORIGINAL},
};

class Switch : public TempGameDir {
  protected:
    // Every row has its live file and the other set parked under prefix.
    void MakeSettledState(const char* parkedPrefix) {
        for (const ManagedFile& row : ManagedFileTable) {
            WriteGameFile(row.livePath, std::string("live ") + row.livePath);
            WriteGameFile(Parked(row.livePath, parkedPrefix),
                          std::string("parked ") + row.livePath);
        }
    }
};

// Fails every rename whose source is failSource.
std::string failSource;
FileFailure failWith;

FileFailure FailOneRename(FileOperation operation, const char* source, const char*) {
    return operation == FileOperation::Rename && failSource == source ? failWith
                                                                      : FileFailure::None;
}

TEST_F(Switch, EachRowEndsAsItsFilesAndFailuresSay) {
    enum Phase { NoFault, Phase1, Phase2 };
    // Contents of L (live), P (the parked name the live file goes to) and B (the parked
    // file that comes live), '-' for none.
    struct {
        const char* name;
        const char* before;
        Phase faultIn;
        FileFailure fault;
        const char* after;
        FileFailure reported;
    } const cases[] = {
        {"both sets present", "L-B", NoFault, FileFailure::None, "BL-", FileFailure::None},
        {"stale parked copy blocks the row", "LPB", NoFault, FileFailure::None, "LPB",
         FileFailure::Exists},
        {"already switched", "LP-", NoFault, FileFailure::None, "LP-", FileFailure::None},
        {"live file only", "L--", NoFault, FileFailure::None, "-L-", FileFailure::None},
        {"incoming file only", "--B", NoFault, FileFailure::None, "B--", FileFailure::None},
        {"live file deleted by the player", "-PB", NoFault, FileFailure::None, "BP-",
         FileFailure::None},
        {"no file at all", "---", NoFault, FileFailure::None, "---", FileFailure::None},
        {"live file held open", "L-B", Phase1, FileFailure::InUse, "L-B", FileFailure::InUse},
        {"parking refused otherwise", "L-B", Phase1, FileFailure::Other, "L-B", FileFailure::Other},
        {"incoming file denied", "L-B", Phase2, FileFailure::AccessDenied, "-LB",
         FileFailure::AccessDenied},
    };
    for (const Direction& direction : directions) {
        for (int row : {34, 164, 185}) {
            const char* live = ManagedFileTable[row - 1].livePath;
            const std::string paths[3] = {live, Parked(live, direction.parkPrefix),
                                          Parked(live, direction.bringPrefix)};
            for (const auto& c : cases) {
                SCOPED_TRACE(testing::Message()
                             << direction.name << ", " << live << ", " << c.name);
                FreshDirectory();
                for (int i = 0; i < 3; ++i) {
                    if (c.before[i] != '-')
                        WriteGameFile(paths[i], std::string(1, c.before[i]));
                }
                failSource = c.faultIn == Phase1 ? paths[0] : c.faultIn == Phase2 ? paths[2] : "";
                failWith = c.fault;
                SetFileFaultHook(FailOneRename);
                FailedFiles failed;
                ClearFailedFiles(&failed);

                direction.run(&failed);

                for (int i = 0; i < 3; ++i) {
                    std::string expected = c.after[i] == '-' ? ABSENT : std::string(1, c.after[i]);
                    EXPECT_EQ(ReadGameFile(paths[i]), expected) << paths[i];
                }
                if (c.reported == FileFailure::None) {
                    EXPECT_EQ(failed.count, 0);
                } else {
                    ASSERT_EQ(failed.count, 1);
                    EXPECT_STREQ(failed.files[0].path, live);
                    EXPECT_EQ(failed.files[0].reason, c.reported);
                }
            }
        }
    }
}

TEST_F(Switch, RoundTripRestoresEveryFileByteForByte) {
    MakeSettledState(PREFIX_MODIFIED);
    const auto before = Snapshot();
    FailedFiles failed;
    ClearFailedFiles(&failed);

    SwitchToModified(&failed);

    EXPECT_EQ(failed.count, 0);
    EXPECT_EQ(QueryFileSetState(), FileSetState::Modified);
    for (const ManagedFile& row : ManagedFileTable) {
        SCOPED_TRACE(row.livePath);
        EXPECT_EQ(ReadGameFile(row.livePath), std::string("parked ") + row.livePath);
        EXPECT_EQ(ReadGameFile(Parked(row.livePath, PREFIX_ORIGINAL)),
                  std::string("live ") + row.livePath);
        EXPECT_FALSE(GameFileExists(Parked(row.livePath, PREFIX_MODIFIED)));
    }

    SwitchToOriginal(&failed);

    EXPECT_EQ(failed.count, 0);
    EXPECT_EQ(QueryFileSetState(), FileSetState::Original);
    EXPECT_EQ(Snapshot(), before);
}

// What the markers say before each rename, seen with plain stat, not through the product.
std::string markerRoot;
std::vector<std::string> renameSources;
std::string markerStates; // per rename: 'O' Original, 'M' Modified, 'C' Conflict, '-' neither
int otherOperations;

FileFailure WatchMarkers(FileOperation operation, const char* source, const char*) {
    if (operation != FileOperation::Rename) {
        ++otherOperations;
        return FileFailure::None;
    }
    struct stat status;
    bool original = stat((markerRoot + "ORI!files.txt").c_str(), &status) == 0;
    bool modified = stat((markerRoot + "MOD!files.txt").c_str(), &status) == 0;
    markerStates += original && modified ? 'C' : original ? 'M' : modified ? 'O' : '-';
    renameSources.push_back(source);
    return FileFailure::None;
}

TEST_F(Switch, StateChangesOnlyWithTheLastRename) {
    struct {
        const Direction& direction;
        char from;
        FileSetState to;
    } const switches[] = {
        {directions[0], 'O', FileSetState::Modified},
        {directions[1], 'M', FileSetState::Original},
    };
    for (const auto& s : switches) {
        SCOPED_TRACE(s.direction.name);
        FreshDirectory();
        MakeSettledState(s.direction.bringPrefix);
        markerRoot = root;
        renameSources.clear();
        markerStates.clear();
        otherOperations = 0;
        SetFileFaultHook(WatchMarkers);
        FailedFiles failed;
        ClearFailedFiles(&failed);

        s.direction.run(&failed);
        SetFileFaultHook(nullptr);

        EXPECT_EQ(otherOperations, 0);
        EXPECT_EQ(markerStates, std::string(185, s.from) + std::string(185, 'C'));
        EXPECT_EQ(QueryFileSetState(), s.to);
        ASSERT_EQ(renameSources.size(), 370u);
        EXPECT_EQ(renameSources[0], "common\\data\\action_table.csv");
        EXPECT_EQ(renameSources[184], "files.txt");
        EXPECT_EQ(renameSources[185],
                  Parked("common\\data\\action_table.csv", s.direction.bringPrefix));
        EXPECT_EQ(renameSources[369], Parked("files.txt", s.direction.bringPrefix));
    }
}

TEST_F(Switch, RowHeldOpenIsReportedAndTheRestSwitch) {
    MakeSettledState(PREFIX_MODIFIED);
    const char* held = ManagedFileTable[33].livePath;
    failSource = held;
    failWith = FileFailure::InUse;
    SetFileFaultHook(FailOneRename);
    FailedFiles failed;
    ClearFailedFiles(&failed);

    SwitchToModified(&failed);

    ASSERT_EQ(failed.count, 1);
    EXPECT_STREQ(failed.files[0].path, held);
    EXPECT_EQ(failed.files[0].reason, FileFailure::InUse);
    EXPECT_EQ(QueryFileSetState(), FileSetState::Modified);
    for (const ManagedFile& row : ManagedFileTable) {
        SCOPED_TRACE(row.livePath);
        bool switched = row.livePath != held;
        EXPECT_EQ(ReadGameFile(row.livePath),
                  std::string(switched ? "parked " : "live ") + row.livePath);
        EXPECT_EQ(GameFileExists(Parked(row.livePath, PREFIX_MODIFIED)), !switched);
        EXPECT_EQ(GameFileExists(Parked(row.livePath, PREFIX_ORIGINAL)), switched);
    }
}

} // namespace
