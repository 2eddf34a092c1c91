// The application flow on real files with a scripted screen: every start, every report of
// the installation, a switch, the uninstallation and the start-up repairs, and the program
// killed at each file operation of them and started again.

#include <algorithm>
#include <cstdlib>
#include <set>

#include "app/main_window_controls.h"
#include "app/program.h"
#include "fileset/bulk_operations.h"
#include "sample/sample_game.h"
#include "tests/expected_texts.h"
#include "tests/native/game_test.h"
#include "ui/message.h"

namespace {

const ShownMessage CONSENT = {TITLE_INSTALLATION, TEXT_CONSENT, 65};
const ShownMessage INSTALLED = {TITLE_INFO, TEXT_INSTALLED, 64};
const ShownMessage NOT_IN_GAME_DIRECTORY = {TITLE_ERROR, TEXT_NOT_IN_GAME_DIRECTORY, 16};
const ShownMessage SETUP_MISSING = {TITLE_ERROR, TEXT_SETUP_MISSING, 16};
const ShownMessage WRITE_FAILED = {TITLE_ERROR, TEXT_WRITE_FAILED, 16};
const ShownMessage QUESTION = {TITLE_UNINSTALL, TEXT_UNINSTALL_QUESTION, 49};
const ShownMessage DECLINED = {"Tauschwerk", "Gute Entscheidung  ;-)", 0};
const ShownMessage UNINSTALLED = {TITLE_UNINSTALL, TEXT_UNINSTALLED, 64};
const ShownMessage INFOS = {"Tauschwerk: Infos", TEXT_INFOS, 64};

ShownMessage Report(const char* first, const std::string& files,
                    std::initializer_list<const char*> advice, const char* next) {
    return {TITLE_ERROR, ReportText(first, files, Lines(advice), next), 16};
}

const char HANDLING[] = "common\\data\\handling.dat";
const char PARKED_HANDLING[] = "common\\data\\ORI!handling.dat";
const char MODIFIED_HANDLING[] = "common\\data\\MOD!handling.dat";
const char GTA[] = "common\\data\\gta.dat";

constexpr SampleLayout FRESH = SampleLayout::Fresh;
constexpr SampleLayout ORIGINAL = SampleLayout::Original;
constexpr SampleLayout MODIFIED = SampleLayout::Modified;

constexpr int OK = ANSWER_OK;
constexpr int STATE = STATUS_BUTTON;
constexpr int UNINSTALL = UNINSTALL_BUTTON;

// Another program holds the file: it can be neither renamed nor looked at.
Fault Held(const char* path) {
    return {FileOperation::Rename, path, FileFailure::InUse};
}
Fault Unreadable(const char* path) {
    return {FileOperation::Probe, path, FileFailure::InUse};
}

// The files a report names, one to a line between its first and its second empty line.
std::vector<std::string> NamedFiles(const ShownMessage& message) {
    std::vector<std::string> names;
    const std::string& text = std::get<1>(message);
    size_t first = text.find("\n\n");
    size_t end = text.find("\n\n", first + 2);
    bool report = std::get<0>(message) == TITLE_ERROR && end != std::string::npos;
    for (size_t line = first + 2; report && line < end; line = text.find('\n', line) + 1)
        names.push_back(text.substr(line, text.find(" (", line) - line));
    return names;
}

using Flow = GameTest;

// A start in a sample game: where the markers send it, the player's answer and clicks, every
// message shown, and what is on disk afterwards.
TEST_F(Flow, EveryStartRefusalAndFailureIsToldAndLosesNothing) {
    const std::string NO_COPY = std::string("-") + PARKED_HANDLING;
    const Fault DISK_FULL_ON_GTA = {FileOperation::Copy, GTA, FileFailure::DiskFull};
    const Fault COPY_DENIED = {FileOperation::Copy, HANDLING, FileFailure::AccessDenied};
    const Fault DELETE_DENIED = {FileOperation::Delete, "common\\data\\MOD!gta.dat",
                                 FileFailure::AccessDenied};
    const Fault MARKER_HELD = {FileOperation::Rename, "files.txt", FileFailure::InUse,
                               "ORI!files.txt"};
    const std::string TWO_UNSAVED = "common\\data\\gta.dat (Datentr\xE4ger voll)\n"
                                    "common\\data\\handling.dat (Zugriff verweigert)";
    auto STRAY = [](const char* advice) {
        return Report(UNINSTALL_ABORTED,
                      "ORI!files.txt (Markierung doppelt)\nMOD!files.txt (Markierung doppelt)", {},
                      advice);
    };
    const ShownMessage KEPT =
        Report(UNINSTALL_INCOMPLETE,
               "common\\data\\MOD!handling.dat (kein Original gesichert, Datei behalten)",
               {ADVICE_KEPT}, NEXT_UNINSTALL_AGAIN);
    enum Moves { NOTHING, FILES_ONLY, ANY }; // what may change on disk
    struct {
        SampleLayout layout; // Fresh comes with the setup files
        std::vector<std::string> changes;
        std::vector<Fault> faults;
        int answer;
        std::vector<int> clicks; // in the main window; Infos follows where it stays open
        std::vector<ShownMessage> messages;
        const char* caption; // of the main window at the end; nullptr: no main window
        Moves moves;
    } const cases[] = {
        // One row a case, as it reads best.
        // clang-format off
        {FRESH, {"ORI!files.txt"}, {}, OK, {}, {}, CAPTION_MODIFIED, NOTHING},
        {FRESH, {"MOD!files.txt"}, {}, OK, {}, {}, CAPTION_ORIGINAL, NOTHING},
        {FRESH, {"ORI!files.txt", "MOD!files.txt\\"}, {}, OK, {}, {}, CAPTION_CONFLICT, NOTHING},
        {FRESH, {"MOD!files.txt"}, {Unreadable("MOD!files.txt")}, OK, {}, {}, CAPTION_ORIGINAL, NOTHING},
        {FRESH, {"-files.txt", "files.txt\\"}, {}, ANSWER_CANCEL, {}, {CONSENT}, nullptr, NOTHING},
        {FRESH, {"-files.txt"}, {}, OK, {}, {NOT_IN_GAME_DIRECTORY}, nullptr, NOTHING},
        // A TEST.WRITE is files.txt under its test name only beside both setup files.
        {FRESH, {"-files.txt", "TEST.WRITE", "-Setup2.Vornak"}, {}, OK, {}, {NOT_IN_GAME_DIRECTORY}, nullptr, NOTHING},
        {FRESH, {}, {}, ANSWER_NONE, {}, {CONSENT}, nullptr, NOTHING},
        {FRESH, {"-Setup1.Vornak"}, {}, OK, {}, {CONSENT, SETUP_MISSING}, nullptr, NOTHING},
        {FRESH, {"-Setup2.Vornak"}, {}, OK, {}, {CONSENT, SETUP_MISSING}, nullptr, NOTHING},
        {FRESH, {}, {Unreadable("Setup2.Vornak")}, OK, {}, {CONSENT, SETUP_MISSING}, nullptr, NOTHING},
        {FRESH, {"TEST.WRITE"}, {}, OK, {}, {CONSENT, WRITE_FAILED}, nullptr, NOTHING},
        // A MOD! copy left from an earlier life may be the only copy of a file.
        {FRESH, {MODIFIED_HANDLING}, {}, OK, {}, {CONSENT, Report(INSTALL_ABORTED,
            "common\\data\\MOD!handling.dat (von fr\xFC" "her \xFC" "brig)", {ADVICE_LEFT_OVER}, NEXT_INSTALL_AGAIN)}, nullptr, NOTHING},
        // files.txt cannot get its name back from the write test: nothing else may move.
        {FRESH, {}, {Held("TEST.WRITE")}, OK, {}, {CONSENT, Report(INSTALL_NOT_STARTED,
            "TEST.WRITE (in Benutzung)", {ADVICE_HELD}, NEXT_TEST_NAME)}, nullptr, FILES_ONLY},
        // The backup goes on to its end, names every file it could not save, and the
        // directory stays uninstalled: every original live, the copies made kept.
        {FRESH, {}, {DISK_FULL_ON_GTA, COPY_DENIED}, OK, {}, {CONSENT, Report(INSTALL_ABORTED,
            TWO_UNSAVED, {ADVICE_FULL, ADVICE_DENIED}, NEXT_INSTALL_AGAIN)}, nullptr, FILES_ONLY},
        {FRESH, {"pc\\data\\ORI!filelist.pak"}, {}, OK, {}, {CONSENT, Report(INSTALL_ABORTED,
            "pc\\data\\filelist.pak (Name bereits vergeben: pc\\data\\ORI!filelist.pak)", {ADVICE_TAKEN}, NEXT_INSTALL_AGAIN)}, nullptr, FILES_ONLY},
        {FRESH, {"-pc\\data"}, {}, OK, {}, {CONSENT, Report(INSTALL_ABORTED,
            "pc\\data (nicht gefunden)", {ADVICE_NOT_FOUND}, NEXT_INSTALL_AGAIN)}, nullptr, FILES_ONLY},
        // The marker cannot be set: filelist.pak comes back, nothing reads as installed.
        {FRESH, {}, {MARKER_HELD}, OK, {}, {CONSENT, Report(INSTALL_ABORTED,
            "files.txt (in Benutzung)", {ADVICE_HELD}, NEXT_INSTALL_AGAIN)}, nullptr, FILES_ONLY},
        // Past the marker the originals are saved; the next start puts the setup files in.
        {FRESH, {}, {Held("Setup1.Vornak")}, OK, {}, {CONSENT, Report(INSTALL_UNFINISHED,
            "Setup1.Vornak (in Benutzung)", {ADVICE_HELD}, NEXT_INSTALL_AT_START)}, nullptr, ANY},
        // The uninstallation: its question first, then what it tells.
        {ORIGINAL, {}, {}, ANSWER_NONE, {UNINSTALL}, {QUESTION, DECLINED}, CAPTION_ORIGINAL, NOTHING},
        {MODIFIED, {}, {Held(HANDLING)}, OK, {UNINSTALL}, {QUESTION, Report(UNINSTALL_ABORTED,
            "common\\data\\handling.dat (in Benutzung)", {ADVICE_HELD}, NEXT_UNINSTALL_AGAIN)}, CAPTION_CONFLICT, FILES_ONLY},
        {ORIGINAL, {PARKED_HANDLING}, {}, OK, {UNINSTALL}, {QUESTION, Report(UNINSTALL_ABORTED,
            "common\\data\\handling.dat (Original noch nicht zur\xFC" "ckgeholt: common\\data\\ORI!handling.dat)",
            {ADVICE_STILL_PARKED}, NEXT_UNINSTALL_AGAIN)}, CAPTION_ORIGINAL, NOTHING},
        // A setup file unzipped again would take the name the modified files.txt goes back to.
        {ORIGINAL, {"Setup1.Vornak"}, {}, OK, {UNINSTALL}, {QUESTION, Report(UNINSTALL_ABORTED,
            "MOD!files.txt (Name bereits vergeben: Setup1.Vornak)", {ADVICE_TAKEN}, NEXT_UNINSTALL_AGAIN)}, CAPTION_ORIGINAL, NOTHING},
        // Both markers beside a live files.txt: the parked copies tell which one is stray.
        {ORIGINAL, {"ORI!files.txt"}, {}, OK, {UNINSTALL}, {QUESTION, STRAY(STRAY_ORIGINAL_MARKER)}, CAPTION_CONFLICT, NOTHING},
        {MODIFIED, {"MOD!files.txt"}, {}, OK, {UNINSTALL}, {QUESTION, STRAY(STRAY_MODIFIED_MARKER)}, CAPTION_CONFLICT, NOTHING},
        {ORIGINAL, {"ORI!files.txt", "-common\\data\\MOD!handling.dat", PARKED_HANDLING}, {}, OK, {UNINSTALL},
            {QUESTION, STRAY(STRAY_MARKER_UNDECIDED)}, CAPTION_CONFLICT, NOTHING},
        // No original beside it: never saved, or a directory in its place.
        {MODIFIED, {NO_COPY}, {}, OK, {UNINSTALL}, {QUESTION, KEPT}, nullptr, ANY},
        {ORIGINAL, {"-" + std::string(HANDLING), HANDLING + std::string("\\")}, {}, OK, {UNINSTALL}, {QUESTION, KEPT}, nullptr, ANY},
        {ORIGINAL, {}, {DELETE_DENIED}, OK, {UNINSTALL}, {QUESTION, Report(UNINSTALL_INCOMPLETE,
            "common\\data\\MOD!gta.dat (Zugriff verweigert)", {ADVICE_DENIED}, NEXT_UNINSTALL_AGAIN)}, nullptr, ANY},
        // A switch: a held files.txt stops it before anything moves; a held other row lets
        // the rest go, but the markers say the switch did not finish. The copy in the way
        // is named.
        {ORIGINAL, {}, {MARKER_HELD}, OK, {STATE}, {Report(SWITCH_FAILED,
            "files.txt (in Benutzung)", {ADVICE_HELD}, NEXT_SWITCH_AGAIN)}, CAPTION_ORIGINAL, NOTHING},
        {ORIGINAL, {}, {{FileOperation::Rename, HANDLING, FileFailure::Other}}, OK, {STATE}, {Report(SWITCH_FAILED,
            "common\\data\\handling.dat (Fehler)", {ADVICE_OTHER}, NEXT_SWITCH_AT_START)}, CAPTION_CONFLICT, FILES_ONLY},
        {ORIGINAL, {PARKED_HANDLING}, {}, OK, {STATE}, {Report(SWITCH_FAILED,
            "common\\data\\handling.dat (Name bereits vergeben: common\\data\\ORI!handling.dat)", {ADVICE_TAKEN},
            NEXT_SWITCH_AT_START)}, CAPTION_CONFLICT, FILES_ONLY},
        // A start that cannot finish a stopped switch tells so and shows that it did not.
        {MODIFIED, {"-files.txt", "MOD!files.txt"}, {Held(HANDLING)}, OK, {}, {Report(REPAIR_FAILED,
            "common\\data\\handling.dat (in Benutzung)", {ADVICE_HELD}, NEXT_REPAIR_AT_START)}, CAPTION_CONFLICT, FILES_ONLY},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.messages.empty() ? c.caption : std::get<1>(c.messages.back()));
        Fresh();
        ASSERT_TRUE(MakeSampleGame(root, c.layout, c.layout == FRESH));
        Change(c.changes);
        FileTree before = Tree();
        InjectFaults(c.faults);
        screen.answer = c.answer;
        screen.clicks.assign(c.clicks.begin(), c.clicks.end());
        if (c.caption != nullptr && !c.clicks.empty())
            screen.clicks.push_back(1);
        EXPECT_TRUE(Start());
        std::vector<ShownMessage> expected = c.messages;
        if (c.caption != nullptr && !c.clicks.empty())
            expected.push_back(INFOS); // back in the window
        EXPECT_EQ(screen.messages, expected);
        EXPECT_EQ(screen.mainWindow, c.caption != nullptr || !c.clicks.empty());
        if (c.caption != nullptr) {
            EXPECT_EQ(screen.caption, c.caption);
            EXPECT_EQ(screen.stateDisabled, std::string(c.caption) == CAPTION_CONFLICT);
        }
        if (c.moves == NOTHING) {
            EXPECT_EQ(Tree(), before);
        }
        // Nothing the program stops at deletes anything.
        if (c.moves == FILES_ONLY) {
            const Inventory after = InventoryOf(Tree()), was = InventoryOf(before);
            EXPECT_TRUE(std::includes(after.begin(), after.end(), was.begin(), was.end()));
        }
        EXPECT_TRUE(OriginalsSurvive(before, Tree()));
        // Every file a report names is still there for the player to deal with, and no
        // advice asks to delete one.
        for (const ShownMessage& message : screen.messages) {
            std::string text = std::get<1>(message);
            const std::string notToDelete = "(l\xF6schen Sie sie nicht)";
            for (size_t at; (at = text.find(notToDelete)) != std::string::npos;)
                text.erase(at, notToDelete.size());
            EXPECT_EQ(text.find("l\xF6schen Sie"), std::string::npos) << text;
        }
        for (const ShownMessage& message : screen.messages)
            for (const std::string& name : NamedFiles(message))
                EXPECT_TRUE(std::filesystem::exists(GamePath(root, name)) ||
                            std::get<1>(message).find(name + " (nicht gefunden)") !=
                                std::string::npos)
                    << name;
    }
}

// A switch that stopped at a held file is finished toward the originals by the next start,
// once the file is free again: every file back where it was.
TEST_F(Flow, AStoppedSwitchIsFinishedByTheNextStartOnceTheHoldIsGone) {
    ASSERT_TRUE(MakeSampleGame(root, ORIGINAL, false));
    InjectFaults({Held(HANDLING)});
    screen.clicks = {STATE};
    EXPECT_TRUE(Start());
    EXPECT_EQ(screen.caption, CAPTION_CONFLICT);
    InjectFaults({});
    screen = Screen();
    EXPECT_TRUE(Start());
    EXPECT_EQ(screen.messages, std::vector<ShownMessage>());
    EXPECT_EQ(screen.caption, CAPTION_ORIGINAL);
    EXPECT_EQ(Tree(), SampleFiles(ORIGINAL, false));
}

TEST_F(Flow, ASwitchFollowsTheCaptionNotTheDiskAndNamesTenFilesAtMost) {
    ASSERT_TRUE(MakeSampleGame(root, MODIFIED, false));
    const FileTree before = Tree();
    for (const char* caption : {"Dateien sind z. Z. MODIFIZIERT ", "dateien sind z. z. modifiziert",
                                CAPTION_CONFLICT, "Status wurde nicht gescannt!"}) {
        screen.caption = caption;
        ToggleFileSet();
        EXPECT_EQ(screen.caption, caption);
    }
    EXPECT_EQ(Tree(), before);
    // A failed switch can leave neither marker: the modified set reads as live then.
    std::filesystem::remove(root / "ORI!files.txt");
    ScanStatus();
    EXPECT_EQ(screen.caption, CAPTION_MODIFIED);

    // Every row but the marker's blocked by a stale modified copy.
    for (int row = 0; row < MANAGED_FILE_COUNT - 1; ++row)
        Write(Parked(ManagedFileTable[row].livePath, PREFIX_MODIFIED), "stale");
    ToggleFileSet();
    ASSERT_EQ(screen.messages.size(), 1u);
    const std::string& text = std::get<1>(screen.messages[0]);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 + 10 + 2 + 1);
    EXPECT_NE(text.find("\ncommon\\data\\action_table.csv (Name bereits vergeben: "
                        "common\\data\\MOD!action_table.csv)\n"),
              std::string::npos);
    EXPECT_NE(text.find("\n... und 174 weitere Dateien\n\n"), std::string::npos);
}

// Every line of the guide a player reads ends in CR LF, fits 78 columns and is code page 1252,
// not UTF-8 (whose umlauts start with 0xC3).
TEST(Guide, KeepsItsEncodingLineEndsAndWidth) {
    const std::string guide = Liesmich();
    size_t start = 0;
    for (size_t end; (end = guide.find('\n', start)) != std::string::npos; start = end + 1) {
        EXPECT_EQ(guide[end - 1], '\r') << start;
        EXPECT_LE(end - 1 - start, 78u) << guide.substr(start, end - start);
    }
    EXPECT_EQ(start, guide.size());
    EXPECT_EQ(guide.find('\xC3'), std::string::npos);
}

// A text longer than the work area is cut at its end, still zero-terminated; the sanitizer
// watches the bytes beyond it.
TEST_F(Flow, AnOverlongTextStopsAtTheEndOfTheWorkArea) {
    char* start = MessageTextEnd();
    std::string overlong(MESSAGE_TEXT_SIZE + 100, 'x');
    AppendText(overlong.c_str());
    AppendChar(LINE_FEED);
    EXPECT_EQ(std::string(start), overlong.substr(0, MESSAGE_TEXT_SIZE - 1));
}

// The program killed at a file operation: from then on every operation fails without
// touching the disk, which on disk is the same.
long operationsLeft;
std::vector<std::string> operations; // the call's kind, then its names
std::string killAt;                  // the first operation to fail, for a cut prepared
bool killed;

std::string Operation(FileOperation call, const char* source, const char* target) {
    static const char* const NAMES[] = {"Probe", "Copy", "Flush", "Replace", "Rename", "Delete"};
    return NAMES[static_cast<int>(call)] + (" " + std::string(source)) + " " +
           (target != nullptr ? target : "");
}

FileFailure RecordOperation(FileOperation call, const char* source, const char* target) {
    operations.push_back(Operation(call, source, target));
    return FileFailure::None;
}

FileFailure KillAfterOperations(FileOperation, const char*, const char*) {
    return operationsLeft-- > 0 ? FileFailure::None : FileFailure::Other;
}

FileFailure KillAtOperation(FileOperation call, const char* source, const char* target) {
    killed = killed || Operation(call, source, target) == killAt;
    return killed ? FileFailure::Other : FileFailure::None;
}

// Every operation when TAUSCHWERK_EVERY_STOP is set; otherwise around every operation on the
// markers, the switch-only rows and the setup files, two on each side of every edge between
// kinds of work (a phase, a step), and elsewhere at a stride.
std::set<long> StopPoints() {
    long count = static_cast<long>(operations.size());
    std::set<long> points = {0, count};
    std::string work;
    for (long i = 0; i < count; ++i) {
        const std::string& operation = operations[i];
        if (std::getenv("TAUSCHWERK_EVERY_STOP") != nullptr || i % 61 == 0)
            points.insert(i);
        if (operation.rfind("Probe", 0) == 0)
            continue;
        // The kind of call and which prefixes its names carry; a copy's flush and rename
        // are part of the copy.
        std::string kind = operation.substr(0, operation.find(' '));
        kind = kind == "Flush" || kind == "Replace" ? "Copy" : kind;
        for (const char* prefix : {"ORI!", "MOD!"})
            kind += operation.find(prefix) != std::string::npos ? prefix : "";
        bool special = kind != work;
        work = kind;
        for (const char* name : {"files.txt", "filelist.pak", "Setup", "TEST.WRITE"})
            special = special || operation.find(name) != std::string::npos;
        for (long at = i - 2; special && at <= i + 2; ++at)
            points.insert(std::clamp(at, 0L, count));
    }
    return points;
}

// A run cut short before the swept start: an installation at one of its steps, or a switch
// in one of its phases.
enum class Cut { None, InstallationBeforeMarker, InstallationAfterMarker, Phase1, Phase2 };

const struct Scenario {
    const char* name;
    SampleLayout layout; // Fresh comes with the setup files
    Cut cut;
    std::vector<int> clicks; // at the swept start; none: the start alone, installing if offered
} SCENARIOS[] = {
    {"Installation", FRESH, Cut::None, {}},
    {"SwitchToModified", ORIGINAL, Cut::None, {STATE}},
    {"SwitchToOriginal", MODIFIED, Cut::None, {STATE}},
    {"UninstallFromModified", MODIFIED, Cut::None, {UNINSTALL}},
    {"UninstallFromOriginal", ORIGINAL, Cut::None, {UNINSTALL}},
    {"RepairOfAnInstallationCutBeforeItsMarker", FRESH, Cut::InstallationBeforeMarker, {}},
    {"RepairOfAnInstallationCutAfterItsMarker", FRESH, Cut::InstallationAfterMarker, {}},
    {"RepairOfASwitchToModifiedCutInPhase1", ORIGINAL, Cut::Phase1, {}},
    {"RepairOfASwitchToModifiedCutInPhase2", ORIGINAL, Cut::Phase2, {}},
    {"RepairOfASwitchToOriginalCutInPhase1", MODIFIED, Cut::Phase1, {}},
    {"RepairOfASwitchToOriginalCutInPhase2", MODIFIED, Cut::Phase2, {}},
};

class KilledAndStartedAgain : public GameTest, public testing::WithParamInterface<Scenario> {
  protected:
    const Scenario& scenario = GetParam();
    const bool installing = scenario.layout == FRESH;

    void CutShort() {
        screen = Screen();
        if (installing) {
            killAt = scenario.cut == Cut::InstallationBeforeMarker
                         ? Operation(FileOperation::Rename, "files.txt", "ORI!files.txt")
                         : Operation(FileOperation::Rename, "Setup1.Vornak", "files.txt");
            killed = false;
            SetFileFaultHook(KillAtOperation);
            EXPECT_TRUE(Start());
            return;
        }
        // Phase 1 parks files.txt and 59 rows; phase 2 has brought 60 rows live.
        operationsLeft = scenario.cut == Cut::Phase1 ? 60 : MANAGED_FILE_COUNT + 60;
        SetFileFaultHook(KillAfterOperations);
        FailedFiles failed;
        ClearFailedFiles(&failed);
        (scenario.layout == ORIGINAL ? SwitchToModified : SwitchToOriginal)(&failed);
    }

    void Prepare() {
        ASSERT_TRUE(MakeSampleGame(root, scenario.layout, installing));
        // The backup must replace an old copy and pass over a missing file.
        if (installing)
            Change({PARKED_HANDLING, "-pc\\stream.ini"});
        if (scenario.cut != Cut::None)
            CutShort();
        SetFileFaultHook(nullptr);
        screen = Screen();
        screen.clicks.assign(scenario.clicks.begin(), scenario.clicks.end());
    }

    // The caption names a set only when every row is in it, judged by names and contents.
    void ExpectTrueCaption(const std::string& modifiedFilesTxt) {
        const FileTree tree = Tree();
        auto parked = [&](const char* prefix) {
            return std::any_of(tree.begin(), tree.end(), [&](const auto& file) {
                return file.first.find(prefix) != std::string::npos;
            });
        };
        if (screen.caption == CAPTION_MODIFIED) {
            EXPECT_FALSE(parked(PREFIX_MODIFIED));
            EXPECT_EQ(Read(FILES_TXT), modifiedFilesTxt);
        } else if (screen.caption == CAPTION_ORIGINAL) {
            EXPECT_FALSE(parked(PREFIX_ORIGINAL));
            EXPECT_EQ(Read(FILES_TXT), OriginalContent(FILES_TXT));
        } else {
            EXPECT_EQ(screen.caption, CAPTION_CONFLICT);
        }
    }
};

// Killed at any file operation, the program loses nothing; the next start's caption is true,
// and the player's next step (install, switch, uninstall) ends where it should without a
// repair by hand.
TEST_P(KilledAndStartedAgain, LosesNothingTellsTheTruthAndTheNextStepFinishes) {
    Prepare();
    // What the player ends with: the originals live, the modified files.txt and
    // filelist.pak kept as the setup files.
    const std::string modifiedFilesTxt = installing ? SetupContent(1) : ModifiedContent(FILES_TXT);
    FileTree settled = SampleFiles(FRESH, false);
    settled["Setup1.Vornak"] = modifiedFilesTxt;
    settled["Setup2.Vornak"] = installing ? SetupContent(2) : ModifiedContent(FILELIST_PAK);
    if (installing)
        settled.erase("pc/stream.ini");
    // Modified files may go only with a confirmed uninstallation.
    const bool uninstalling = scenario.clicks == std::vector<int>{UNINSTALL};
    Inventory mustSurvive = InventoryOf(settled);
    for (const auto& [path, content] : Tree())
        if (!uninstalling && content.rfind("modified ", 0) == 0)
            mustSurvive.insert(content);
    operations.clear();
    SetFileFaultHook(RecordOperation);
    EXPECT_TRUE(Start());
    EXPECT_EQ(screen.messages.end(), std::find_if(screen.messages.begin(), screen.messages.end(),
                                                  [](const ShownMessage& message) {
                                                      return std::get<0>(message) == TITLE_ERROR;
                                                  }));

    for (long k : StopPoints()) {
        SCOPED_TRACE(testing::Message() << "killed after " << k << " of " << operations.size());
        Fresh();
        Prepare();
        operationsLeft = k;
        SetFileFaultHook(KillAfterOperations);
        EXPECT_TRUE(Start());
        SetFileFaultHook(nullptr);
        Inventory contents = InventoryOf(Tree());
        for (const std::string& content : mustSurvive)
            EXPECT_GT(contents.count(content), 0u) << content;

        screen = Screen();
        screen.answer = ANSWER_CANCEL; // a start that offers the installation opens no window
        EXPECT_TRUE(Start());
        if (screen.mainWindow)
            ExpectTrueCaption(modifiedFilesTxt);

        const bool switching = !installing && !uninstalling && k % 2 == 0;
        screen = Screen();
        screen.clicks = switching ? std::deque<int>{STATE, UNINSTALL} : std::deque<int>{UNINSTALL};
        EXPECT_TRUE(Start());
        ASSERT_FALSE(screen.messages.empty());
        EXPECT_EQ(screen.messages.back(), UNINSTALLED);
        for (const ShownMessage& message : screen.messages)
            EXPECT_NE(std::get<0>(message), TITLE_ERROR) << std::get<1>(message);
        EXPECT_EQ(Tree(), settled);
    }
}

INSTANTIATE_TEST_SUITE_P(, KilledAndStartedAgain, testing::ValuesIn(SCENARIOS),
                         [](const testing::TestParamInfo<Scenario>& info) {
                             return std::string(info.param.name);
                         });

// The copies reach the disk before their names, and all of them before the marker.
TEST_F(Flow, EveryCopyIsFlushedBeforeItTakesItsNameAndBeforeTheMarker) {
    ASSERT_TRUE(MakeSampleGame(root, FRESH, true));
    operations.clear();
    SetFileFaultHook(RecordOperation);
    EXPECT_TRUE(Start());
    ASSERT_EQ(screen.messages.back(), INSTALLED);
    std::set<std::string> flushed;
    long copies = 0;
    for (const std::string& operation : operations) {
        std::string temporary = operation.substr(operation.find(' ') + 1);
        temporary = temporary.substr(0, temporary.find(' '));
        if (operation.rfind("Flush", 0) == 0)
            flushed.insert(temporary);
        if (operation.rfind("Replace", 0) == 0) {
            EXPECT_EQ(flushed.count(temporary), 1u) << operation;
            ++copies;
        }
        if (operation == Operation(FileOperation::Rename, FILES_TXT, MARKER_ORIGINAL)) {
            EXPECT_EQ(flushed.size(), MANAGED_FILE_COUNT - 2u);
        }
    }
    EXPECT_EQ(copies, MANAGED_FILE_COUNT - 2);
}

} // namespace
