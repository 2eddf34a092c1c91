#include "fileset/bulk_operations.h"
#include "fileset/file_table.h"
#include "tests/native/temp_game_dir.h"

#include <string>
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

class Switch : public TempGameDir {};

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

} // namespace
