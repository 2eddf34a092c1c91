// The application flow on real files with a scripted screen: every start, every report of
// the installation, a switch and the uninstallation, and the program killed at each file
// operation of them and started again.

#include <algorithm>
#include <set>

#include "app/program.h"
#include "fileset/bulk_operations.h"
#include "sample/sample_game.h"
#include "tests/expected_texts.h"
#include "tests/native/game_test.h"
#include "ui/message.h"

namespace {

const ShownMessage CONSENT = {TITLE_INSTALLATION, TEXT_CONSENT, 65};
const ShownMessage NOT_IN_GAME_DIRECTORY = {TITLE_ERROR, TEXT_NOT_IN_GAME_DIRECTORY, 16};
const ShownMessage SETUP_MISSING = {
    TITLE_ERROR,
    "Es fehlen einige Dateien zur Installation!\nBitte kopieren Sie alle Dateien aus dem "
    "ZIP-Ordner (''Tauschwerk'', ''Setup1'' & ''Setup2'') in das Spielverzeichnis.",
    16};
const ShownMessage WRITE_FAILED = {
    TITLE_ERROR,
    "Es ist ein Fehler w\xE4hrend eines Schreibvorganges aufgetreten!\nSie m\xFCssen diese "
    "Anwendung als Administrator ausf\xFChren (s. Kontextmen\xFC)!",
    16};
const ShownMessage QUESTION = {TITLE_UNINSTALL, TEXT_UNINSTALL_QUESTION, 49};
const ShownMessage DECLINED = {"Tauschwerk", "Gute Entscheidung  ;-)", 0};
const ShownMessage UNINSTALLED = {TITLE_UNINSTALL, TEXT_UNINSTALLED, 64};
const ShownMessage INFOS = {"Tauschwerk: Infos", TEXT_INFOS, 64};

const char INSTALL_INCOMPLETE[] =
    "Die Installation konnte nicht vollst\xE4ndig abgeschlossen werden!";
const char INSTALL_ADVICE[] =
    "F\xFCr die genannten Dateien gibt es m\xF6glicherweise kein gesichertes Original: "
    "Bearbeiten Sie sie nicht! Schlie\xDF"
    "en Sie das Spiel und alle Programme, die diese Dateien benutzen, sorgen Sie f\xFCr "
    "Schreibrechte und freien Speicherplatz und sichern Sie diese Dateien selbst, bevor Sie "
    "umschalten oder deinstallieren.";
const char ABORTED[] = "Die Deinstallation wurde abgebrochen!";
const char ABORTED_ADVICE[] = "Bitte schlie\xDF"
                              "en Sie das Spiel und alle Programme, die diese Dateien "
                              "benutzen, schalten Sie einmal hin und zur\xFC"
                              "ck und deinstallieren Sie dann erneut.";
const char STRAY_MARKER_ADVICE[] =
    "Neben files.txt darf nur eine dieser beiden Markierungen im Spielverzeichnis liegen: "
    "Eine von ihnen geh\xF6rt nicht dorthin und muss von Hand entfernt werden.";

ShownMessage Report(const char* first, const std::string& files, const char* advice) {
    return {TITLE_ERROR, ReportText(first, files, advice), 16};
}

const char HANDLING[] = "common\\data\\handling.dat";
const char PARKED_HANDLING[] = "common\\data\\ORI!handling.dat";
const ShownMessage WRITE_BACK_FAILED =
    Report(INSTALL_INCOMPLETE, "TEST.WRITE (in Benutzung)", INSTALL_ADVICE);
const ShownMessage OLD_PARKED_LIST =
    Report(INSTALL_INCOMPLETE,
           "pc\\data\\filelist.pak (Name bereits vergeben: pc\\data\\ORI!filelist.pak)\n"
           "Setup2.Vornak (Name bereits vergeben: pc\\data\\filelist.pak)",
           INSTALL_ADVICE);
const ShownMessage NO_DATA_DIRECTORY = Report(
    INSTALL_INCOMPLETE, "Setup2.Vornak (Zielordner fehlt: pc\\data\\filelist.pak)", INSTALL_ADVICE);
const ShownMessage DISK_FULL =
    Report(INSTALL_INCOMPLETE, "common\\data\\gta.dat (Datentr\xE4ger voll)", INSTALL_ADVICE);
const ShownMessage HELD =
    Report(ABORTED, "common\\data\\handling.dat (in Benutzung)", ABORTED_ADVICE);
const ShownMessage STILL_PARKED = Report(
    ABORTED, "common\\data\\handling.dat (Original noch nicht zur\374ckgeholt)", ABORTED_ADVICE);
const ShownMessage STRAY_MARKER =
    Report(ABORTED, "ORI!files.txt (Markierung doppelt)\nMOD!files.txt (Markierung doppelt)",
           STRAY_MARKER_ADVICE);
ShownMessage Kept(const char* copy) {
    return Report(UNINSTALL_INCOMPLETE,
                  copy + std::string(" (kein Original gesichert, Datei behalten)"),
                  INCOMPLETE_ADVICE);
}
const ShownMessage NOT_DELETED = Report(UNINSTALL_INCOMPLETE,
                                        "common\\data\\MOD!gta.dat (Zugriff verweigert)\n"
                                        "MOD!files.txt (Name bereits vergeben: Setup1.Vornak)",
                                        INCOMPLETE_ADVICE);

constexpr SampleLayout FRESH = SampleLayout::Fresh;
constexpr SampleLayout ORIGINAL = SampleLayout::Original;
constexpr SampleLayout MODIFIED = SampleLayout::Modified;

constexpr int OK = ANSWER_OK;

// Another program holds the file: it can be neither renamed nor looked at.
Fault Held(const char* path) {
    return {FileOperation::Rename, path, FileFailure::InUse};
}
Fault Unreadable(const char* path) {
    return {FileOperation::Probe, path, FileFailure::InUse};
}

// files.txt under its write-test name counts as files.txt: a write test cut short is
// undone at the next start, and one that cannot be undone is left for it.
FileTree Unmoved(FileTree tree) {
    if (tree.count("files.txt") == 0 && tree.count("TEST.WRITE") > 0) {
        tree["files.txt"] = tree["TEST.WRITE"];
        tree.erase("TEST.WRITE");
    }
    return tree;
}

// The files a report names, one to a line between its first and its last empty line.
std::vector<std::string> NamedFiles(const ShownMessage& message) {
    std::vector<std::string> names;
    const std::string& text = std::get<1>(message);
    size_t end = text.rfind("\n\n");
    bool report = std::get<0>(message) == TITLE_ERROR && end != std::string::npos;
    for (size_t line = text.find("\n\n") + 2; report && line < end;
         line = text.find('\n', line) + 1)
        names.push_back(text.substr(line, text.find(" (", line) - line));
    return names;
}

using Flow = GameTest;

// A start in a sample game: where the markers send it, the player's answer and click, every
// message shown, and what is on disk afterwards.
TEST_F(Flow, EveryStartRefusalAndFailureIsToldAndLosesNothing) {
    const char* MOD_MARKER = "MOD!files.txt";
    const ShownMessage KEPT = Kept("common\\data\\MOD!handling.dat");
    const std::string OLD_LIST = "pc\\data\\ORI!filelist.pak";
    const std::string NO_COPY = std::string("-") + PARKED_HANDLING;
    const std::string DIRECTORY_FOR_COPY = PARKED_HANDLING + std::string("\\");
    const std::vector<Fault> DISK_FULL_ON_GTA = {
        {FileOperation::Copy, "common\\data\\gta.dat", FileFailure::DiskFull}};
    const std::vector<Fault> DELETE_DENIED = {
        {FileOperation::Delete, "common\\data\\MOD!gta.dat", FileFailure::AccessDenied}};
    struct {
        SampleLayout layout; // Fresh comes with the setup files
        std::vector<std::string> changes;
        std::vector<Fault> faults;
        int answer;
        int control; // clicked in the main window, then Infos; -1: nothing
        std::vector<ShownMessage> messages;
        const char* caption; // of the main window at the end; nullptr: none, or it ended
        bool unmoved;        // not a file moves
    } const cases[] = {
        {FRESH, {"ORI!files.txt"}, {}, OK, -1, {}, CAPTION_MODIFIED, true},
        {FRESH, {"MOD!files.txt"}, {}, OK, -1, {}, CAPTION_ORIGINAL, true},
        {FRESH, {"ORI!files.txt", "MOD!files.txt\\"}, {}, OK, -1, {}, CAPTION_CONFLICT, true},
        {FRESH, {MOD_MARKER}, {Unreadable(MOD_MARKER)}, OK, -1, {}, CAPTION_ORIGINAL, true},
        {FRESH, {"-files.txt", "files.txt\\"}, {}, ANSWER_CANCEL, -1, {CONSENT}, nullptr, true},
        {FRESH, {"-files.txt", "TEST.WRITE"}, {}, ANSWER_CANCEL, -1, {CONSENT}, nullptr, true},
        {FRESH, {"-files.txt"}, {}, OK, -1, {NOT_IN_GAME_DIRECTORY}, nullptr, true},
        {FRESH, {}, {}, ANSWER_NONE, -1, {CONSENT}, nullptr, true},
        {FRESH, {"-Setup1.Vornak"}, {}, OK, -1, {CONSENT, SETUP_MISSING}, nullptr, true},
        {FRESH, {"-Setup2.Vornak"}, {}, OK, -1, {CONSENT, SETUP_MISSING}, nullptr, true},
        {FRESH, {}, {Unreadable("Setup2.Vornak")}, OK, -1, {CONSENT, SETUP_MISSING}, nullptr, true},
        {FRESH, {"TEST.WRITE"}, {}, OK, -1, {CONSENT, WRITE_FAILED}, nullptr, true},
        // files.txt cannot get its name back from the write test: nothing else may move.
        {FRESH, {}, {Held("TEST.WRITE")}, OK, -1, {CONSENT, WRITE_BACK_FAILED}, nullptr, true},
        {FRESH, {OLD_LIST}, {}, OK, -1, {CONSENT, OLD_PARKED_LIST}, CAPTION_MODIFIED, false},
        {FRESH, {"-pc\\data"}, {}, OK, -1, {CONSENT, NO_DATA_DIRECTORY}, CAPTION_MODIFIED, false},
        {FRESH, {}, DISK_FULL_ON_GTA, OK, -1, {CONSENT, DISK_FULL}, CAPTION_MODIFIED, false},
        // The uninstallation: its question first, then what it tells.
        {ORIGINAL, {}, {}, ANSWER_NONE, 2, {DECLINED}, CAPTION_ORIGINAL, true},
        {MODIFIED, {}, {Held(HANDLING)}, OK, 2, {HELD}, CAPTION_ORIGINAL, false},
        {ORIGINAL, {PARKED_HANDLING}, {}, OK, 2, {STILL_PARKED}, CAPTION_ORIGINAL, true},
        {ORIGINAL, {"ORI!files.txt"}, {}, OK, 2, {STRAY_MARKER}, CAPTION_CONFLICT, true},
        // No original beside it: never saved, a directory in its place, or not readable.
        {MODIFIED, {NO_COPY}, {}, OK, 2, {KEPT}, nullptr, false},
        {MODIFIED, {NO_COPY, DIRECTORY_FOR_COPY}, {}, OK, 2, {KEPT}, nullptr, false},
        {ORIGINAL,
         {},
         {Unreadable("pc\\stream.ini")},
         OK,
         2,
         {Kept("pc\\MOD!stream.ini")},
         nullptr,
         false},
        {ORIGINAL, {"Setup1.Vornak"}, DELETE_DENIED, OK, 2, {NOT_DELETED}, nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.messages.empty() ? c.caption : std::get<1>(c.messages.back()));
        Fresh();
        ASSERT_TRUE(MakeSampleGame(root, c.layout, c.layout == FRESH));
        Change(c.changes);
        FileTree before = Tree();
        InjectFaults(c.faults);
        screen.answer = c.answer;
        if (c.control >= 0)
            screen.clicks = {c.control, 1};
        EXPECT_TRUE(Start());
        std::vector<ShownMessage> expected = c.messages;
        if (c.control == 2)
            expected.insert(expected.begin(), QUESTION);
        if (c.control >= 0 && c.caption != nullptr)
            expected.push_back(INFOS); // back in the window
        EXPECT_EQ(screen.messages, expected);
        EXPECT_EQ(screen.mainWindow, c.caption != nullptr || c.control >= 0);
        if (c.caption != nullptr) {
            EXPECT_EQ(screen.caption, c.caption);
            EXPECT_EQ(screen.stateDisabled, c.caption == CAPTION_CONFLICT);
        }
        if (c.unmoved) {
            EXPECT_EQ(Unmoved(Tree()), Unmoved(before));
        }
        // Nothing the program stops at deletes anything.
        if (c.caption != nullptr && c.control >= 0) {
            EXPECT_EQ(InventoryOf(Tree()), InventoryOf(before));
        }
        EXPECT_TRUE(OriginalsSurvive(before, Tree()));
        // Every file a report names is still there for the player to deal with.
        for (const ShownMessage& message : screen.messages)
            for (const std::string& name : NamedFiles(message))
                EXPECT_TRUE(std::filesystem::exists(GamePath(root, name))) << name;
    }
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
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 10 + 1 + 2);
    EXPECT_NE(text.find("\ncommon\\data\\action_table.csv (Name bereits vergeben)\n"),
              std::string::npos);
    EXPECT_NE(text.find("\n... und 174 weitere Dateien\n\n"), std::string::npos);
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

// The program killed at a file operation: every operation after the k-th fails without
// touching the disk, which on disk is the same.
long operationsLeft;
std::vector<std::string> operations; // the call's kind, then its names

FileFailure RecordOperation(FileOperation call, const char* source, const char* target) {
    operations.push_back("PCRD"[static_cast<int>(call)] + std::string(source) + " " +
                         (target != nullptr ? target : ""));
    return FileFailure::None;
}

FileFailure KillAfterOperations(FileOperation, const char*, const char*) {
    return operationsLeft-- > 0 ? FileFailure::None : FileFailure::Other;
}

// Around every operation on the markers, the switch-only rows and the setup files, and
// wherever the kind of work changes; elsewhere at a stride.
std::set<long> StopPoints() {
    std::set<long> points = {0, static_cast<long>(operations.size())};
    char work = 'P';
    for (long i = 1; i < static_cast<long>(operations.size()); ++i) {
        const std::string& operation = operations[i];
        bool newWork = operation[0] != 'P' && operation[0] != work;
        work = newWork ? operation[0] : work;
        bool special = newWork || i % 61 == 0;
        for (const char* name : {"files.txt", "filelist.pak", "Setup", "TEST.WRITE"})
            special = special || operation.find(name) != std::string::npos;
        if (special)
            points.insert({i, i + 1});
    }
    return points;
}

const struct Scenario {
    const char* name;
    SampleLayout layout;
    bool interruptedSwitch; // start from a switch cut short in its second phase
    int control;            // what the player clicks; -1: the installation runs
} SCENARIOS[] = {
    {"Installation", FRESH, false, -1},
    {"SwitchToModified", ORIGINAL, false, 0},
    {"SwitchToOriginal", MODIFIED, false, 0},
    {"UninstallFromModified", MODIFIED, false, 2},
    {"UninstallFromOriginal", ORIGINAL, false, 2},
    {"UninstallFromAnInterruptedSwitch", ORIGINAL, true, 2},
};

class KilledAndStartedAgain : public GameTest, public testing::WithParamInterface<int> {
  protected:
    const Scenario& scenario = SCENARIOS[GetParam()];
    void Prepare() {
        ASSERT_TRUE(MakeSampleGame(root, scenario.layout, scenario.control < 0));
        // The backup must replace an old copy and pass over a missing file.
        if (scenario.control < 0)
            Change({std::string(PARKED_HANDLING), "-pc\\stream.ini"});
        if (scenario.interruptedSwitch) {
            operationsLeft = MANAGED_FILE_COUNT + 60;
            SetFileFaultHook(KillAfterOperations);
            FailedFiles failed;
            ClearFailedFiles(&failed);
            SwitchToModified(&failed);
        }
        SetFileFaultHook(nullptr);
        screen = Screen();
        if (scenario.control >= 0)
            screen.clicks = {scenario.control};
    }
};

TEST_P(KilledAndStartedAgain, LosesNothingAndTheSameStepsAgainFinish) {
    bool installing = scenario.control < 0;
    Prepare();
    // What the player ends with: the originals live, the modified files.txt and
    // filelist.pak kept as the setup files.
    FileTree settled = SampleFiles(FRESH, false);
    settled["Setup1.Vornak"] = installing ? SetupContent(1) : ModifiedContent("files.txt");
    settled["Setup2.Vornak"] =
        installing ? SetupContent(2) : ModifiedContent("pc\\data\\filelist.pak");
    settled.erase(installing ? "pc/stream.ini" : "");
    // Modified files may go only with a confirmed uninstallation.
    Inventory mustSurvive = InventoryOf(settled);
    for (const auto& [path, content] : Tree())
        if (scenario.control != 2 && content.rfind("modified ", 0) == 0)
            mustSurvive.insert(content);
    operations.clear();
    SetFileFaultHook(RecordOperation);
    EXPECT_TRUE(Start());
    if (scenario.control == 0) {
        EXPECT_EQ(Tree(), SampleFiles(scenario.layout == ORIGINAL ? MODIFIED : ORIGINAL, false));
    }

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

        // Killed between moving Setup2.Vornak in and parking files.txt, the installation
        // cannot be offered again: the player is told that a setup file is missing.
        bool stuck =
            installing && Read("Setup2.Vornak") == ABSENT && Read("ORI!files.txt") == ABSENT;
        screen = Screen();
        screen.clicks = scenario.control == 0 ? std::deque<int>{0, 2} : std::deque<int>{2};
        EXPECT_TRUE(Start());
        if (stuck) {
            EXPECT_EQ(screen.messages, (std::vector<ShownMessage>{CONSENT, SETUP_MISSING}));
        } else {
            EXPECT_EQ(screen.messages.back(), UNINSTALLED);
            EXPECT_EQ(Tree(), settled);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(, KilledAndStartedAgain, testing::Range(0, 6),
                         [](const testing::TestParamInfo<int>& info) {
                             return std::string(SCENARIOS[info.param].name);
                         });

} // namespace
