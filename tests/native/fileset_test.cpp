// The managed file table and the bulk operations, row by row, against real files.

#include <cctype>

#include "fileset/bulk_operations.h"
#include "sample/sample_game.h"
#include "tests/native/game_test.h"

namespace {

// Any changed, missing, added or moved row, or a moved switch-only flag, changes the
// fingerprint; the table was checked against the list of the game's files row by row.
TEST(ManagedFileTable, EveryRowInItsPlaceAndEveryParkedNameBesideIt) {
    unsigned long long fingerprint = 14695981039346656037ull; // FNV-1a
    for (const ManagedFile& row : ManagedFileTable) {
        for (const char* c = row.livePath; *c != 0; ++c)
            fingerprint = (fingerprint ^ static_cast<unsigned char>(*c)) * 1099511628211ull;
        fingerprint = (fingerprint ^ (row.switchOnly ? 1u : 0u)) * 1099511628211ull;
    }
    EXPECT_EQ(fingerprint, 0xa4e802b79b635789ull);
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
    // The live name, the name it is parked under, the name that comes live: a file with
    // that letter as content, 'D' a directory, 'U' a file named in upper case, '-' none.
    struct {
        const char* before;
        int failing;        // the name whose renames fail with the reason, or -1
        FileFailure reason; // the one the switch reports, or None
        const char* after;
    } const cases[] = {
        {"L-B", -1, FileFailure::None, "BL-"},
        {"LPB", -1, FileFailure::Exists, "LPB"}, // the live name stays taken
        {"LP-", -1, FileFailure::None, "LP-"},
        {"L--", -1, FileFailure::None, "-L-"},
        {"--B", -1, FileFailure::None, "B--"},
        {"-PB", -1, FileFailure::None, "BP-"},
        {"---", -1, FileFailure::None, "---"},
        {"D-B", -1, FileFailure::None, "BD-"},
        {"U-B", -1, FileFailure::None, "BU-"},
        {"L-B", 0, FileFailure::InUse, "L-B"},
        {"L-B", 0, FileFailure::Other, "L-B"},
        {"L-B", 2, FileFailure::AccessDenied, "-LB"},
    };
    for (const Direction& direction : directions) {
        for (int row : {34, 164, 184}) {
            const char* live = ManagedFileTable[row - 1].livePath;
            const std::string names[3] = {live, Parked(live, direction.park),
                                          Parked(live, direction.bring)};
            for (const auto& c : cases) {
                SCOPED_TRACE(names[2] + ": " + c.before + " -> " + c.after);
                Fresh();
                // A switch starts only from a live files.txt.
                Change({"files.txt", Parked("files.txt", direction.bring)});
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
                InjectFaults(
                    {{FileOperation::Rename, c.failing < 0 ? "" : names[c.failing], c.reason}});
                FailedFiles failed;
                ClearFailedFiles(&failed);

                direction.run(&failed);

                for (int i = 0; i < 3; ++i) {
                    std::string expected = c.after[i] == '-' ? ABSENT : std::string(1, c.after[i]);
                    EXPECT_EQ(Read(c.after[i] == 'D' ? names[i] + "\\inside" : names[i]), expected)
                        << names[i];
                }
                ASSERT_EQ(failed.count, c.reason == FileFailure::None ? 0 : 1);
                if (failed.count == 1) {
                    EXPECT_STREQ(failed.files[0].path, live);
                    EXPECT_EQ(failed.files[0].reason, c.reason);
                }
            }
        }
    }
}

} // namespace
