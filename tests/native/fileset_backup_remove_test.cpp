#include "fileset/bulk_operations.h"
#include "fileset/file_table.h"
#include "tests/native/temp_game_dir.h"

#include <cstdio>
#include <string>

namespace {

using BulkOperations = TempGameDir;

FileFailure DiskFullForHandling(FileOperation operation, const char* source, const char*) {
    return operation == FileOperation::Copy && std::string(source) == "common\\data\\handling.dat"
               ? FileFailure::DiskFull
               : FileFailure::None;
}

TEST_F(BulkOperations, BackupCopiesEveryOriginalAndReportsWhatItCouldNot) {
    // As the installation leaves it: setup files live in the two switch-only rows, whose
    // originals lie parked already.
    for (const ManagedFile& row : ManagedFileTable)
        WriteGameFile(row.livePath, (row.switchOnly ? "setup " : "game ") + Key(row.livePath));
    WriteGameFile("ORI!files.txt", "original list");
    WriteGameFile("pc\\data\\ORI!filelist.pak", "original pak");
    const char* stale = "common\\data\\gta.dat";
    WriteGameFile(Parked(stale, PREFIX_ORIGINAL), "from an earlier installation");
    const char* gone = "pc\\stream.ini";
    std::remove(HostPath(gone).c_str());
    WriteGameFile(Parked(gone, PREFIX_ORIGINAL), "kept");
    const char* blocked = "pc\\data\\timecyc.dat";
    MakeGameDirectory(Parked(blocked, PREFIX_ORIGINAL));
    const char* full = "common\\data\\handling.dat";

    auto expected = Snapshot();
    for (const ManagedFile& row : ManagedFileTable) {
        std::string live = row.livePath;
        if (!row.switchOnly && live != gone && live != blocked && live != full)
            expected[Key(Parked(row.livePath, PREFIX_ORIGINAL))] = expected.at(Key(live));
    }
    SetFileFaultHook(DiskFullForHandling);
    FailedFiles failed;
    ClearFailedFiles(&failed);

    BackupOriginals(&failed);

    EXPECT_EQ(Snapshot(), expected);
    ASSERT_EQ(failed.count, 2);
    EXPECT_STREQ(failed.files[0].path, full);
    EXPECT_EQ(failed.files[0].reason, FileFailure::DiskFull);
    EXPECT_STREQ(failed.files[1].path, blocked);
    EXPECT_EQ(failed.files[1].reason, FileFailure::Other);
}

FileFailure DeniedForGta4pc(FileOperation operation, const char* source, const char*) {
    return operation == FileOperation::Delete && std::string(source) == "pc\\data\\MOD!gta4pc.png"
               ? FileFailure::AccessDenied
               : FileFailure::None;
}

TEST_F(BulkOperations, RemovalDeletesExactlyTheParkedModifiedFiles) {
    for (const ManagedFile& row : ManagedFileTable) {
        WriteGameFile(row.livePath, "live");
        WriteGameFile(Parked(row.livePath, PREFIX_ORIGINAL), "original");
        if (row.livePath != std::string("common\\data\\nav.dat"))
            WriteGameFile(Parked(row.livePath, PREFIX_MODIFIED), "modified");
    }
    const char* held = "pc\\data\\gta4pc.png";
    auto expected = Snapshot();
    for (const ManagedFile& row : ManagedFileTable) {
        if (!row.switchOnly && row.livePath != std::string(held))
            expected.erase(Key(Parked(row.livePath, PREFIX_MODIFIED)));
    }
    SetFileFaultHook(DeniedForGta4pc);
    FailedFiles failed;
    ClearFailedFiles(&failed);

    RemoveModifiedSet(&failed);

    EXPECT_EQ(Snapshot(), expected);
    ASSERT_EQ(failed.count, 1);
    EXPECT_EQ(failed.files[0].path, Parked(held, PREFIX_MODIFIED));
    EXPECT_EQ(failed.files[0].reason, FileFailure::AccessDenied);
    EXPECT_EQ(ReadGameFile("MOD!files.txt"), "modified");
    EXPECT_EQ(ReadGameFile("pc\\data\\MOD!filelist.pak"), "modified");
}

} // namespace
