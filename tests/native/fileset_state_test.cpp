#include "fileset/file_state.h"
#include "fileset/file_primitives.h"
#include "tests/native/temp_game_dir.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> probed;

FileFailure RecordProbes(FileOperation operation, const char* source, const char*) {
    if (operation == FileOperation::Probe)
        probed.push_back(source);
    return FileFailure::None;
}

using FileState = TempGameDir;

TEST_F(FileState, MarkersDecideTheState) {
    enum Marker { None, File, Directory };
    struct {
        Marker original;
        Marker modified;
        bool installed;
        FileSetState state;
        std::vector<std::string> probes; // by QueryFileSetState
    } const cases[] = {
        {None, None, false, FileSetState::Modified, {"MOD!files.txt"}},
        {File, None, true, FileSetState::Modified, {"MOD!files.txt"}},
        {None, File, true, FileSetState::Original, {"MOD!files.txt", "ORI!files.txt"}},
        {File, File, true, FileSetState::Conflict, {"MOD!files.txt", "ORI!files.txt"}},
        {None, Directory, true, FileSetState::Original, {"MOD!files.txt", "ORI!files.txt"}},
        {Directory, Directory, true, FileSetState::Conflict, {"MOD!files.txt", "ORI!files.txt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.original << "/" << c.modified);
        FreshDirectory();
        WriteGameFile("files.txt", "live");
        if (c.original == File)
            WriteGameFile("ORI!files.txt", "");
        if (c.original == Directory)
            MakeGameDirectory("ORI!files.txt");
        if (c.modified == File)
            WriteGameFile("mod!FILES.TXT", "");
        if (c.modified == Directory)
            MakeGameDirectory("MOD!files.txt");

        EXPECT_EQ(IsFileSetInstalled(), c.installed);
        probed.clear();
        SetFileFaultHook(RecordProbes);
        EXPECT_EQ(QueryFileSetState(), c.state);
        EXPECT_EQ(probed, c.probes);
    }
}

} // namespace
