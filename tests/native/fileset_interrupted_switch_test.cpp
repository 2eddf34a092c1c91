#include "fileset/bulk_operations.h"
#include "fileset/file_state.h"
#include "fileset/file_table.h"
#include "tests/native/temp_game_dir.h"
#include "tests/inventory.h"
#include "sample/sample_game.h"

#include <vector>

// A switch cut short after k renames, as when the process is killed, then started again.

namespace {

int renamesLeft;

FileFailure StopAfterRenames(FileOperation operation, const char*, const char*) {
    if (operation != FileOperation::Rename || renamesLeft-- > 0)
        return FileFailure::None;
    return FileFailure::Other;
}

struct Direction {
    const char* name;
    void (*run)(FailedFiles*);
    SampleLayout from;
    SampleLayout to;
    FileSetState fromState;
    FileSetState toState;
};
const Direction directions[] = {
    {"SwitchToModified", SwitchToModified, SampleLayout::Original, SampleLayout::Modified,
     FileSetState::Original, FileSetState::Modified},
    {"SwitchToOriginal", SwitchToOriginal, SampleLayout::Modified, SampleLayout::Original,
     FileSetState::Modified, FileSetState::Original},
};

// Around the start, the marker row of phase 1 (rename 185), the phase boundary and the
// marker row of phase 2 (rename 370), and a spread between.
std::vector<int> StopPoints() {
    std::vector<int> points = {0, 1, 2, 183, 184, 185, 186, 187, 368, 369, 370};
    for (int k = 17; k < 370; k += 29)
        points.push_back(k);
    return points;
}

using InterruptedSwitch = TempGameDir;

TEST_F(InterruptedSwitch, PhaseOneResumesAndPhaseTwoReadsConflict) {
    for (const Direction& direction : directions) {
        for (int k : StopPoints()) {
            SCOPED_TRACE(testing::Message()
                         << direction.name << " stopped after " << k << " renames");
            FreshDirectory();
            ASSERT_TRUE(MakeSampleGame(root, direction.from, false));
            const FileTree before = Snapshot();
            renamesLeft = k;
            SetFileFaultHook(StopAfterRenames);
            FailedFiles failed;
            ClearFailedFiles(&failed);

            direction.run(&failed);
            SetFileFaultHook(nullptr);

            EXPECT_EQ(SwitchInventoryFault(before, Snapshot()), "");
            if (k >= 2 * MANAGED_FILE_COUNT) {
                EXPECT_EQ(QueryFileSetState(), direction.toState);
                EXPECT_EQ(Snapshot(), SampleFiles(direction.to, false));
            } else if (k >= MANAGED_FILE_COUNT) {
                // The marker row of phase 1 has moved: no switch is offered any more.
                EXPECT_EQ(QueryFileSetState(), FileSetState::Conflict);
            } else {
                EXPECT_EQ(QueryFileSetState(), direction.fromState);
                ClearFailedFiles(&failed);
                direction.run(&failed);
                EXPECT_EQ(failed.count, 0);
                EXPECT_EQ(QueryFileSetState(), direction.toState);
                EXPECT_EQ(Snapshot(), SampleFiles(direction.to, false));
            }
        }
    }
}

} // namespace
