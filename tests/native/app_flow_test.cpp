// The application flow on real files with a scripted screen: every start, every report of
// the installation, a switch and the uninstallation, and the program killed at each file
// operation of them and started again.

#include <algorithm>

#include "app/program.h"
#include "fileset/bulk_operations.h"
#include "fileset/file_table.h"
#include "sample/sample_game.h"
#include "tests/expected_texts.h"
#include "tests/native/game_test.h"
#include "ui/message.h"

namespace {

const ShownMessage CONSENT = {TITLE_INSTALLATION, TEXT_CONSENT, 65};
const ShownMessage INSTALLED = {"Tauschwerk: Info", TEXT_INSTALLED, 64};
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
const char SWITCH_FAILED[] = "Einige Dateien konnten nicht umgeschaltet werden!";
const char SWITCH_ADVICE[] = "Bitte schlie\xDF"
                             "en Sie das Spiel und alle Programme, die diese Dateien "
                             "benutzen, und schalten Sie dann einmal hin und zur\xFC"
                             "ck.";
const char ABORTED[] = "Die Deinstallation wurde abgebrochen!";
const char ABORTED_ADVICE[] = "Bitte schlie\xDF"
                              "en Sie das Spiel und alle Programme, die diese Dateien "
                              "benutzen, schalten Sie einmal hin und zur\xFC"
                              "ck und deinstallieren Sie dann erneut.";
const char STRAY_MARKER_ADVICE[] =
    "Neben files.txt darf nur eine dieser beiden Markierungen im Spielverzeichnis liegen: "
    "Eine von ihnen geh\xF6rt nicht dorthin und muss von Hand entfernt werden.";
const char UNINSTALL_INCOMPLETE[] =
    "Die Deinstallation konnte nicht vollst\xE4ndig abgeschlossen werden!";
const char INCOMPLETE_ADVICE[] =
    "Jede Datei im Spielverzeichnis, die noch MOD!... hei\xDFt, wurde behalten: Zu ihr war "
    "kein Original gesichert, oder sie konnte nicht gel\xF6scht werden. Schlie\xDF"
    "en Sie alle Programme, die sie benutzen, und benennen Sie sie von Hand in ihren eigenen "
    "Namen (ohne MOD!) um, wenn das Spiel sie braucht, oder l\xF6schen Sie sie.";

ShownMessage Report(const char* first, const std::string& files, const char* advice) {
    return {TITLE_ERROR, std::string(first) + "\n\n" + files + "\n\n" + advice, 16};
}

const char HANDLING[] = "common\\data\\handling.dat";
const char KEPT_HANDLING[] =
    "common\\data\\MOD!handling.dat (kein Original gesichert, Datei behalten)";
const char PARKED_HANDLING[] = "common\\data\\ORI!handling.dat";

using Flow = GameTest;

// files.txt under its write-test name counts as files.txt: a write test cut short is
// undone at the next start, and one that cannot be undone is left for it.
FileTree Unmoved(FileTree tree) {
    if (tree.count("files.txt") == 0 && tree.count("TEST.WRITE") > 0) {
        tree["files.txt"] = tree["TEST.WRITE"];
        tree.erase("TEST.WRITE");
    }
    return tree;
}

// Starts in a fresh game with the setup files; none of them may change anything.
TEST_F(Flow, EveryStartGoesWhereTheMarkersSayAndEveryRefusalChangesNothing) {
    struct {
        const char* name;
        std::vector<std::string> changes;
        std::vector<Fault> faults;
        int answer;
        std::vector<ShownMessage> messages;
        const char* caption = nullptr; // of the main window; nullptr: none opens
    } const cases[] = {
        {"ORI! marker", {"ORI!files.txt"}, {}, ANSWER_OK, {}, CAPTION_MODIFIED},
        {"MOD! marker", {"MOD!files.txt"}, {}, ANSWER_OK, {}, CAPTION_ORIGINAL},
        {"both markers", {"ORI!files.txt", "MOD!files.txt"}, {}, ANSWER_OK, {}, CAPTION_CONFLICT},
        {"marker directory", {"ORI!files.txt", "MOD!files.txt\\"}, {}, 1, {}, CAPTION_CONFLICT},
        {"unreadable marker",
         {"MOD!files.txt"},
         {{FileOperation::Probe, "MOD!files.txt", FileFailure::InUse}},
         ANSWER_OK,
         {},
         CAPTION_ORIGINAL},
        {"files.txt a directory", {"-files.txt", "files.txt\\"}, {}, ANSWER_CANCEL, {CONSENT}},
        {"write test cut short", {"-files.txt", "TEST.WRITE"}, {}, ANSWER_CANCEL, {CONSENT}},
        {"no game directory", {"-files.txt"}, {}, ANSWER_OK, {NOT_IN_GAME_DIRECTORY}},
        {"consent cancelled", {}, {}, ANSWER_CANCEL, {CONSENT}},
        {"consent box not shown", {}, {}, ANSWER_NONE, {CONSENT}},
        {"setup 1 missing", {"-Setup1.Vornak"}, {}, ANSWER_OK, {CONSENT, SETUP_MISSING}},
        {"setup 2 missing", {"-Setup2.Vornak"}, {}, ANSWER_OK, {CONSENT, SETUP_MISSING}},
        {"setup 2 unreadable",
         {},
         {{FileOperation::Probe, "Setup2.Vornak", FileFailure::AccessDenied}},
         ANSWER_OK,
         {CONSENT, SETUP_MISSING}},
        {"TEST.WRITE left over", {"TEST.WRITE"}, {}, ANSWER_OK, {CONSENT, WRITE_FAILED}},
        // files.txt cannot get its name back from the write test: nothing else may move.
        {"files.txt held after the write test",
         {},
         {{FileOperation::Rename, "TEST.WRITE", FileFailure::InUse}},
         ANSWER_OK,
         {CONSENT, Report(INSTALL_INCOMPLETE, "TEST.WRITE (in Benutzung)", INSTALL_ADVICE)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        ASSERT_TRUE(MakeSampleGame(root, SampleLayout::Fresh, true));
        Change(c.changes);
        FileTree before = Tree();
        InjectFaults(c.faults);
        screen.answers = {c.answer};
        EXPECT_TRUE(Start());
        EXPECT_EQ(screen.messages, c.messages);
        EXPECT_EQ(screen.mainWindow, c.caption != nullptr);
        if (c.caption != nullptr) {
            EXPECT_EQ(screen.caption, c.caption);
            EXPECT_EQ(screen.stateDisabled, c.caption == CAPTION_CONFLICT);
        }
        EXPECT_EQ(Unmoved(Tree()), Unmoved(before));
    }
}

// The files a report names, one to a line between its first and its last empty line.
std::vector<std::string> NamedFiles(const ShownMessage& report) {
    std::vector<std::string> names;
    size_t end = report.text.rfind("\n\n");
    for (size_t line = report.text.find("\n\n") + 2; line < end;
         line = report.text.find('\n', line) + 1)
        names.push_back(report.text.substr(line, report.text.find(" (", line) - line));
    return names;
}

// Whatever could not be done is named with its cause, and nothing the player has is lost.
TEST_F(Flow, EveryFailureIsReportedAndLosesNothing) {
    struct {
        SampleLayout layout; // Fresh comes with the setup files and is installed
        std::vector<std::string> changes;
        std::vector<Fault> faults;
        int control; // the button clicked, then Infos; -1: the installation runs
        int answer;
        std::vector<ShownMessage> messages;
        const char* caption = nullptr; // nullptr: the program has ended
    } const cases[] = {
        {SampleLayout::Fresh,
         {"pc\\data\\ORI!filelist.pak"},
         {},
         -1,
         ANSWER_OK,
         {CONSENT,
          Report(INSTALL_INCOMPLETE,
                 "pc\\data\\filelist.pak (Name bereits vergeben: pc\\data\\ORI!filelist.pak)\n"
                 "Setup2.Vornak (Name bereits vergeben: pc\\data\\filelist.pak)",
                 INSTALL_ADVICE),
          INFOS},
         CAPTION_MODIFIED},
        {SampleLayout::Fresh,
         {"-pc\\data"},
         {},
         -1,
         ANSWER_OK,
         {CONSENT,
          Report(INSTALL_INCOMPLETE, "Setup2.Vornak (Zielordner fehlt: pc\\data\\filelist.pak)",
                 INSTALL_ADVICE),
          INFOS},
         CAPTION_MODIFIED},
        {SampleLayout::Fresh,
         {},
         {{FileOperation::Copy, "common\\data\\gta.dat", FileFailure::DiskFull}},
         -1,
         ANSWER_OK,
         {CONSENT,
          Report(INSTALL_INCOMPLETE, "common\\data\\gta.dat (Datentr\xE4ger voll)", INSTALL_ADVICE),
          INFOS},
         CAPTION_MODIFIED},
        {SampleLayout::Original,
         {},
         {{FileOperation::Rename, HANDLING, FileFailure::InUse}},
         0,
         ANSWER_OK,
         {Report(SWITCH_FAILED, "common\\data\\handling.dat (in Benutzung)", SWITCH_ADVICE), INFOS},
         CAPTION_MODIFIED},
        {SampleLayout::Original,
         {},
         {},
         2,
         ANSWER_CANCEL,
         {QUESTION, DECLINED, INFOS},
         CAPTION_ORIGINAL},
        {SampleLayout::Original,
         {},
         {},
         2,
         ANSWER_NONE,
         {QUESTION, DECLINED, INFOS},
         CAPTION_ORIGINAL},
        {SampleLayout::Modified,
         {},
         {{FileOperation::Rename, HANDLING, FileFailure::InUse}},
         2,
         ANSWER_OK,
         {QUESTION, Report(ABORTED, "common\\data\\handling.dat (in Benutzung)", ABORTED_ADVICE),
          INFOS},
         CAPTION_ORIGINAL},
        {SampleLayout::Original,
         {PARKED_HANDLING},
         {},
         2,
         ANSWER_OK,
         {QUESTION,
          Report(ABORTED,
                 "common\\data\\handling.dat (Original noch nicht zur\xFC"
                 "ckgeholt)",
                 ABORTED_ADVICE),
          INFOS},
         CAPTION_ORIGINAL},
        {SampleLayout::Original,
         {"ORI!files.txt"},
         {},
         2,
         ANSWER_OK,
         {QUESTION,
          Report(ABORTED, "ORI!files.txt (Markierung doppelt)\nMOD!files.txt (Markierung doppelt)",
                 STRAY_MARKER_ADVICE),
          INFOS},
         CAPTION_CONFLICT},
        // The installation could not save the original, or a directory took its place.
        {SampleLayout::Modified,
         {std::string("-") + PARKED_HANDLING},
         {},
         2,
         ANSWER_OK,
         {QUESTION, Report(UNINSTALL_INCOMPLETE, KEPT_HANDLING, INCOMPLETE_ADVICE)}},
        {SampleLayout::Modified,
         {std::string("-") + PARKED_HANDLING, PARKED_HANDLING + std::string("\\")},
         {},
         2,
         ANSWER_OK,
         {QUESTION, Report(UNINSTALL_INCOMPLETE, KEPT_HANDLING, INCOMPLETE_ADVICE)}},
        {SampleLayout::Original,
         {"Setup1.Vornak"},
         {{FileOperation::Delete, "common\\data\\MOD!gta.dat", FileFailure::AccessDenied}},
         2,
         ANSWER_OK,
         {QUESTION, Report(UNINSTALL_INCOMPLETE,
                           "common\\data\\MOD!gta.dat (Zugriff verweigert)\nMOD!files.txt "
                           "(Name bereits vergeben: Setup1.Vornak)",
                           INCOMPLETE_ADVICE)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.messages.size() > 1 ? c.messages[1].text : c.messages[0].text);
        Fresh();
        ASSERT_TRUE(MakeSampleGame(root, c.layout, c.layout == SampleLayout::Fresh));
        Change(c.changes);
        FileTree before = Tree();
        InjectFaults(c.faults);
        if (c.control >= 0)
            Click(c.control);
        Click(1);
        screen.answers = {c.answer};
        EXPECT_TRUE(Start());
        EXPECT_EQ(screen.messages, c.messages);
        if (c.caption != nullptr) {
            EXPECT_EQ(screen.caption, c.caption);
            // Nothing the program stopped at or the player declined deletes anything.
            if (c.layout != SampleLayout::Fresh) {
                EXPECT_EQ(InventoryOf(Tree()), InventoryOf(before));
            }
        }
        EXPECT_TRUE(OriginalsSurvive(before, Tree()));
        // Every file a report names is still there for the player to deal with.
        for (const ShownMessage& message : screen.messages)
            for (const std::string& name :
                 message.title == TITLE_ERROR ? NamedFiles(message) : std::vector<std::string>())
                EXPECT_TRUE(std::filesystem::exists(GamePath(root, name))) << name;
    }
}

TEST_F(Flow, ASwitchFollowsTheCaptionNotTheDiskAndNamesTenFilesAtMost) {
    ASSERT_TRUE(MakeSampleGame(root, SampleLayout::Modified, false));
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
    const std::string& text = screen.messages[0].text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 10 + 1 + 2);
    EXPECT_NE(text.find("\ncommon\\data\\action_table.csv (Name bereits vergeben)\n"),
              std::string::npos);
    EXPECT_NE(text.find("\n... und 174 weitere Dateien\n\n"), std::string::npos);
}

// The program killed at a file operation: every operation after the k-th fails without
// touching the disk, which on disk is the same.
long operationsLeft;
std::vector<std::pair<FileOperation, std::string>> operations;

FileFailure RecordOperation(FileOperation call, const char* source, const char* target) {
    operations.push_back({call, std::string(source) + " > " + (target != nullptr ? target : "")});
    return FileFailure::None;
}

FileFailure KillAfterOperations(FileOperation, const char*, const char*) {
    return operationsLeft-- > 0 ? FileFailure::None : FileFailure::Other;
}

// Around every operation on the markers, the switch-only rows and the setup files, and
// wherever the kind of work changes; elsewhere at a stride.
std::vector<long> StopPoints() {
    std::vector<long> points = {0, static_cast<long>(operations.size())};
    FileOperation work = FileOperation::Probe;
    for (size_t i = 1; i < operations.size(); ++i) {
        const auto& [call, names] = operations[i];
        bool newWork = call != FileOperation::Probe && call != work;
        work = newWork ? call : work;
        bool special = false;
        for (const char* name : {"files.txt", "filelist.pak", "Setup", "TEST.WRITE"})
            special = special || names.find(name) != std::string::npos;
        if (special || newWork)
            points.insert(points.end(), {static_cast<long>(i), static_cast<long>(i + 1)});
        else if (i % 37 == 0)
            points.push_back(static_cast<long>(i));
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    return points;
}

struct Scenario {
    const char* name;
    SampleLayout layout;
    bool interruptedSwitch;             // start from a switch cut short in its second phase
    int control;                        // what the player clicks; -1: the installation runs
    std::vector<ShownMessage> messages; // shown when nothing stops it
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

class KilledAndStartedAgain : public GameTest, public testing::WithParamInterface<Scenario> {
  protected:
    void Prepare() {
        const Scenario& scenario = GetParam();
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
            Click(scenario.control);
    }
};

TEST_P(KilledAndStartedAgain, LosesNothingAndTheSameStepsAgainFinish) {
    const Scenario& scenario = GetParam();
    bool installing = scenario.control < 0;
    Prepare();
    // What the player ends with: the originals live, the modified files.txt and
    // filelist.pak kept as the setup files.
    FileTree settled = SampleFiles(SampleLayout::Fresh, false);
    settled["Setup1.Vornak"] = installing ? SetupContent(1) : ModifiedContent("files.txt");
    settled["Setup2.Vornak"] =
        installing ? SetupContent(2) : ModifiedContent("pc\\data\\filelist.pak");
    if (installing)
        settled.erase("pc/stream.ini");
    // Modified files may go only with a confirmed uninstallation.
    Inventory mustSurvive = InventoryOf(settled);
    for (const auto& [path, content] : Tree())
        if (scenario.control != 2 && content.rfind("modified ", 0) == 0)
            mustSurvive.insert(content);
    operations.clear();
    SetFileFaultHook(RecordOperation);
    EXPECT_TRUE(Start());
    EXPECT_EQ(screen.messages, scenario.messages);
    const FileTree completed = Tree();

    for (long k : StopPoints()) {
        SCOPED_TRACE(testing::Message()
                     << "killed after " << k << " of " << operations.size() << " file operations");
        Fresh();
        Prepare();
        operationsLeft = k;
        SetFileFaultHook(KillAfterOperations);
        EXPECT_TRUE(Start());
        SetFileFaultHook(nullptr);
        if (k == static_cast<long>(operations.size())) {
            EXPECT_EQ(Tree(), completed);
        }
        Inventory contents = InventoryOf(Tree());
        for (const std::string& content : mustSurvive)
            EXPECT_GT(contents.count(content), 0u) << content;

        // Killed between moving Setup2.Vornak in and parking files.txt, the installation
        // cannot be offered again: the player is told that a setup file is missing.
        bool stuck =
            installing && Read("Setup2.Vornak") == ABSENT && Read("ORI!files.txt") == ABSENT;
        screen = Screen();
        if (scenario.control == 0)
            Click(0);
        Click(2);
        EXPECT_TRUE(Start());
        if (stuck) {
            EXPECT_EQ(screen.messages, (std::vector<ShownMessage>{CONSENT, SETUP_MISSING}));
        } else {
            EXPECT_EQ(screen.messages.back(), UNINSTALLED);
            EXPECT_EQ(Tree(), settled);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    , KilledAndStartedAgain,
    testing::Values(
        Scenario{"Installation", SampleLayout::Fresh, false, -1, {CONSENT, INSTALLED}},
        Scenario{"SwitchToModified", SampleLayout::Original, false, 0, {}},
        Scenario{"SwitchToOriginal", SampleLayout::Modified, false, 0, {}},
        Scenario{
            "UninstallFromModified", SampleLayout::Modified, false, 2, {QUESTION, UNINSTALLED}},
        Scenario{
            "UninstallFromOriginal", SampleLayout::Original, false, 2, {QUESTION, UNINSTALLED}},
        Scenario{"UninstallFromAnInterruptedSwitch",
                 SampleLayout::Original,
                 true,
                 2,
                 {QUESTION, UNINSTALLED}}),
    [](const testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

} // namespace
