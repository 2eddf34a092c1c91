#include "fileset/file_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

namespace {

const char* Row(int number) {
    return ManagedFileTable[number - 1].livePath;
}

TEST(ManagedFileTable, RowsCheckedByHand) {
    struct {
        int number;
        const char* livePath;
    } const rows[] = {
        {1, "common\\data\\action_table.csv"},
        {3, "common\\data\\action_table_backup.csv"},
        {29, "common\\data\\gtarainemitter.xml"},
        {70, "common\\data\\popcycle.dat"},
        {71, "common\\data\\popcycle.datnew"},
        {73, "common\\data\\radiohud.dat"},
        {95, "common\\data\\worldblanket.dat"},
        {96, "common\\data\\cdimages\\carrec.img"},
        {138, "common\\data\\decision\\combat\\template.cmb"},
        {163, "pc\\stream.ini"},
        {164, "pc\\data\\filelist.pak"},
        {167, "pc\\data\\radiohud.dat"},
        {173, "pc\\data\\effects\\gtarainemitter.xml"},
        {174, "pc\\data\\effects\\gtarainrender.xml"},
        {175, "pc\\data\\effects\\gtastormemitter.xml"},
        {176, "pc\\data\\effects\\gtastormrender.xml"},
        {177, "pc\\data\\effects\\gta_core.wpfl"},
        {178, "pc\\data\\effects\\gta_entity.wpfl"},
        {179, "pc\\data\\effects\\gta_script.wpfl"},
        {184, "pc\\data\\paths\\distantlights.dat"},
        {185, "files.txt"},
    };
    for (const auto& row : rows)
        EXPECT_STREQ(Row(row.number), row.livePath) << "row " << row.number;
}

TEST(ManagedFileTable, ShapeOfTheWholeTable) {
    std::set<std::string> paths;
    size_t longestParked = 0;
    for (int number = 1; number <= MANAGED_FILE_COUNT; ++number) {
        const ManagedFile& row = ManagedFileTable[number - 1];
        SCOPED_TRACE(row.livePath);
        EXPECT_TRUE(paths.insert(row.livePath).second) << "duplicate";
        EXPECT_EQ(row.switchOnly, number == 164 || number == 185);
        size_t length = std::strlen(row.livePath);
        EXPECT_GE(length, 9u);
        EXPECT_LE(length, 41u);
        for (const char* c = row.livePath; *c; ++c)
            EXPECT_FALSE(*c >= 'A' && *c <= 'Z');
        EXPECT_NE(row.livePath[0], '\\');
        char parked[PARKED_PATH_SIZE];
        ParkedPath(row.livePath, PREFIX_ORIGINAL, parked);
        longestParked = std::max(longestParked, std::strlen(parked));
    }
    EXPECT_EQ(longestParked, 45u);
}

TEST(ParkedPath, PrefixGoesBeforeTheFileName) {
    struct {
        const char* livePath;
        const char* prefix;
        const char* parked;
    } const cases[] = {
        {"common\\data\\handling.dat", PREFIX_ORIGINAL, "common\\data\\ORI!handling.dat"},
        {"common\\data\\handling.dat", PREFIX_MODIFIED, "common\\data\\MOD!handling.dat"},
        {"files.txt", PREFIX_ORIGINAL, "ORI!files.txt"},
        {"files.txt", PREFIX_MODIFIED, "MOD!files.txt"},
        {"pc\\data\\effects\\gta_core.wpfl", PREFIX_MODIFIED,
         "pc\\data\\effects\\MOD!gta_core.wpfl"},
        {"common\\data\\decision\\combat\\cop_nrm.cmb", PREFIX_ORIGINAL,
         "common\\data\\decision\\combat\\ORI!cop_nrm.cmb"},
    };
    for (const auto& c : cases) {
        char parked[PARKED_PATH_SIZE];
        ParkedPath(c.livePath, c.prefix, parked);
        EXPECT_STREQ(parked, c.parked);
    }
}

} // namespace
