// The managed file table and the bulk operations, row by row, against real files.

#include <cctype>
#include <optional>
#include <set>

#include "fileset/bulk_operations.h"
#include "sample/sample_game.h"
#include "tests/native/game_test.h"

namespace {

// What every operation takes for granted of a row: a relative, lower-case table path whose
// parked and temporary names fit their buffers and belong to no other row; only files.txt
// and filelist.pak are switch-only.
TEST(ManagedFileTable, EveryRowIsAPathTheOperationsCanPark) {
    std::set<std::string> names;
    for (const ManagedFile& row : ManagedFileTable) {
        const std::string live = row.livePath;
        SCOPED_TRACE(live);
        EXPECT_TRUE(names.insert(live).second);
        EXPECT_EQ(row.switchOnly, live == FILES_TXT || live == FILELIST_PAK);
        EXPECT_NE(live.front(), '\\');
        EXPECT_EQ(live.find('/'), std::string::npos);
        for (char c : live)
            EXPECT_EQ(c, std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(live.find('!'), std::string::npos); // no row is another's parked name
        EXPECT_LT(Parked(row.livePath, PREFIX_MODIFIED).size(), size_t{PARKED_PATH_SIZE});
        EXPECT_LT(Parked(row.livePath, "TMP!ORI!").size(), size_t{TEMPORARY_PATH_SIZE});
    }
    EXPECT_EQ(Parked("common\\data\\handling.dat", PREFIX_MODIFIED),
              "common\\data\\MOD!handling.dat");
    EXPECT_EQ(Parked(FILES_TXT, PREFIX_ORIGINAL), MARKER_ORIGINAL);
}

using BulkOperations = GameTest;

// Each row's outcome depends only on which of its names exist and which rename fails.
TEST_F(BulkOperations, EachRowOfASwitchEndsAsItsFilesAndFailuresSay) {
    // A row's three names: live, the one its live file is parked under, the one whose file
    // comes live. In `before` and `after` each holds a file with that letter as content, or
    // '-' nothing.
    enum Name { LIVE, PARKED, BROUGHT, NONE };
    struct {
        const char* before;
        Name failing = NONE; // the name whose renames fail with `answer`
        FileFailure answer = FileFailure::None;
        std::optional<FailureReason> listed = {}; // this reason, for the name `at`
        Name at = LIVE;
        const char* after;
    } const cases[] = {
        // clang-format off
        {.before = "L-B", .after = "BL-"},
        // A copy where the live file would go: nothing moves at all.
        {.before = "LPB", .listed = FailureReason::InTheWay, .at = PARKED, .after = "LPB"},
        {.before = "LP-", .listed = FailureReason::InTheWay, .at = PARKED, .after = "LP-"},
        {.before = "-PB", .listed = FailureReason::InTheWay, .at = PARKED, .after = "-PB"},
        {.before = "L--", .after = "-L-"},
        {.before = "--B", .after = "B--"},
        {.before = "---", .after = "---"},
        {.before = "L-B", .failing = LIVE, .answer = FileFailure::InUse, .listed = FailureReason::InUse, .after = "L-B"},
        {.before = "L-B", .failing = LIVE, .answer = FileFailure::Other, .listed = FailureReason::Other, .after = "L-B"},
        {.before = "L-B", .failing = BROUGHT, .answer = FileFailure::AccessDenied, .listed = FailureReason::AccessDenied, .after = "-LB"},
        // clang-format on
    };
    const struct {
        void (*run)(FailedFiles*);
        const char* park;
        const char* bring;
    } directions[] = {{SwitchToModified, PREFIX_ORIGINAL, PREFIX_MODIFIED},
                      {SwitchToOriginal, PREFIX_MODIFIED, PREFIX_ORIGINAL}};
    // Rows at each depth of the tree, the last one before files.txt among them.
    const char* const rows[] = {"common\\data\\handling.dat", "pc\\data\\filelist.pak",
                                "pc\\data\\paths\\distantlights.dat"};
    for (const auto& direction : directions) {
        for (const char* live : rows) {
            const std::string names[3] = {live, Parked(live, direction.park),
                                          Parked(live, direction.bring)};
            for (const auto& c : cases) {
                SCOPED_TRACE(names[BROUGHT] + ": " + c.before + " -> " + c.after);
                Fresh();
                // A switch starts only from a live files.txt.
                Change({FILES_TXT, Parked(FILES_TXT, direction.bring)});
                for (int i = LIVE; i < NONE; ++i) {
                    if (c.before[i] != '-')
                        Write(names[i], std::string(1, c.before[i]));
                }
                InjectFaults(
                    {{FileOperation::Rename, c.failing == NONE ? "" : names[c.failing], c.answer}});
                FailedFiles failed;
                ClearFailedFiles(&failed);

                direction.run(&failed);

                for (int i = LIVE; i < NONE; ++i) {
                    std::string content = c.after[i] == '-' ? ABSENT : std::string(1, c.after[i]);
                    EXPECT_EQ(Read(names[i]), content) << names[i];
                }
                ASSERT_EQ(failed.count, c.listed ? 1 : 0);
                if (c.listed) {
                    EXPECT_EQ(failed.files[0].path, names[c.at]);
                    EXPECT_EQ(failed.files[0].reason, *c.listed);
                }
            }
        }
    }
}

} // namespace
