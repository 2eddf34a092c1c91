// The managed file table.

#include <cctype>
#include <set>

#include "sample/sample_game.h"
#include "fileset/file_primitives.h"
#include "fileset/file_table.h"

#include <gtest/gtest.h>

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

} // namespace
