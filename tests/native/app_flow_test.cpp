// The application flow on real files with a scripted screen: the start decision, the
// commands of the main window, the installation and the uninstallation with every report,
// and the program killed at each file operation of them.

#include <algorithm>

#include "app/program.h"
#include "fileset/bulk_operations.h"
#include "fileset/file_table.h"
#include "sample/sample_game.h"
#include "tests/expected_texts.h"
#include "tests/native/game_test.h"
#include "ui/message.h"

namespace {

const char NOT_IN_GAME_DIRECTORY[] =
    "Diese Anwendung muss sich im Spiel-Verzeichnis von GTA IV befinden!";
const char SETUP_MISSING[] =
    "Es fehlen einige Dateien zur Installation!\n"
    "Bitte kopieren Sie alle Dateien aus dem ZIP-Ordner (''Tauschwerk'', ''Setup1'' & "
    "''Setup2'') in das Spielverzeichnis.";
const char WRITE_FAILED[] =
    "Es ist ein Fehler w\xE4hrend eines Schreibvorganges aufgetreten!\n"
    "Sie m\xFCssen diese Anwendung als Administrator ausf\xFChren (s. Kontextmen\xFC)!";
const char INSTALL_INCOMPLETE[] =
    "Die Installation konnte nicht vollst\xE4ndig abgeschlossen werden!\n\n";
const char INSTALL_ADVICE[] =
    "\n\nF\xFCr die genannten Dateien gibt es m\xF6glicherweise kein gesichertes Original: "
    "Bearbeiten Sie sie nicht! Schlie\xDF"
    "en Sie das Spiel und alle Programme, die diese Dateien benutzen, sorgen Sie f\xFCr "
    "Schreibrechte und freien Speicherplatz und sichern Sie diese Dateien selbst, bevor Sie "
    "umschalten oder deinstallieren.";
const char SWITCH_FAILED[] = "Einige Dateien konnten nicht umgeschaltet werden!\n\n";
const char SWITCH_ADVICE[] = "\n\nBitte schlie\xDF"
                             "en Sie das Spiel und alle Programme, die diese Dateien "
                             "benutzen, und schalten Sie dann einmal hin und zur\xFC"
                             "ck.";
const char UNINSTALLED[] = "Deinstallation wurde erfolgreich abgeschlossen!";
const char UNINSTALL_ABORTED[] = "Die Deinstallation wurde abgebrochen!\n\n";
const char ABORTED_ADVICE[] = "\n\nBitte schlie\xDF"
                              "en Sie das Spiel und alle Programme, die diese Dateien "
                              "benutzen, schalten Sie einmal hin und zur\xFC"
                              "ck und deinstallieren Sie dann erneut.";
const char STRAY_MARKER_ADVICE[] =
    "\n\nNeben files.txt darf nur eine dieser beiden Markierungen im Spielverzeichnis liegen: "
    "Eine von ihnen geh\xF6rt nicht dorthin und muss von Hand entfernt werden.";
const char UNINSTALL_INCOMPLETE[] =
    "Die Deinstallation konnte nicht vollst\xE4ndig abgeschlossen werden!\n\n";
const char INCOMPLETE_ADVICE[] =
    "\n\nJede Datei im Spielverzeichnis, die noch MOD!... hei\xDFt, wurde behalten: Zu ihr war "
    "kein Original gesichert, oder sie konnte nicht gel\xF6scht werden. Schlie\xDF"
    "en Sie alle Programme, die sie benutzen, und benennen Sie sie von Hand in ihren eigenen "
    "Namen (ohne MOD!) um, wenn das Spiel sie braucht, oder l\xF6schen Sie sie.";
const char HANDLING[] = "common\\data\\handling.dat";

using Flow = GameTest;

void Sample(const std::filesystem::path& root, SampleLayout layout, bool withSetupFiles = false) {
    ASSERT_TRUE(MakeSampleGame(root, layout, withSetupFiles));
}

// Every original content is still somewhere in the directory.
bool OriginalsSurvive(const FileTree& tree) {
    Inventory contents = InventoryOf(tree);
    return std::all_of(
        std::begin(ManagedFileTable), std::end(ManagedFileTable),
        [&](const ManagedFile& row) { return contents.count(OriginalContent(row.livePath)) > 0; });
}

TEST_F(Flow, StartDecisionFollowsTheMarkersAndTouchesNothing) {
    struct {
        const char* name;
        std::vector<std::string> files; // a trailing backslash makes a directory
        std::vector<Fault> faults;
        const char* caption; // the main window opens with it, or nullptr
        const char* message; // else the first box shows this
    } const cases[] = {
        {"ORI! marker", {"ORI!files.txt"}, {}, CAPTION_MODIFIED, nullptr},
        {"MOD! marker", {"MOD!files.txt", "files.txt"}, {}, CAPTION_ORIGINAL, nullptr},
        {"both markers", {"ORI!files.txt", "MOD!files.txt"}, {}, CAPTION_CONFLICT, nullptr},
        {"marker directory", {"ORI!files.txt", "MOD!files.txt\\"}, {}, CAPTION_CONFLICT, nullptr},
        {"unreadable marker",
         {"MOD!files.txt", "files.txt"},
         {{FileOperation::Probe, "MOD!files.txt", FileFailure::InUse}},
         CAPTION_ORIGINAL,
         nullptr},
        {"files.txt directory", {"files.txt\\"}, {}, nullptr, TEXT_CONSENT},
        {"write test cut short", {"TEST.WRITE"}, {}, nullptr, TEXT_CONSENT},
        {"no game directory", {"readme.txt"}, {}, nullptr, NOT_IN_GAME_DIRECTORY},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        for (const std::string& file : c.files)
            file.back() == '\\' ? MakeDirectory(file) : Write(file, file);
        FileTree before = Tree();
        InjectFaults(c.faults);
        screen.answers = {ANSWER_CANCEL};
        EXPECT_TRUE(Start());
        EXPECT_EQ(screen.mainWindow, c.caption != nullptr);
        if (c.caption != nullptr) {
            EXPECT_EQ(screen.caption, c.caption);
            EXPECT_EQ(screen.stateDisabled, c.caption == CAPTION_CONFLICT);
            EXPECT_TRUE(screen.messages.empty());
        } else {
            ASSERT_EQ(screen.messages.size(), 1u);
            bool error = c.message == NOT_IN_GAME_DIRECTORY;
            EXPECT_EQ(screen.messages[0].title, error ? TITLE_ERROR : "Tauschwerk: Installation");
            EXPECT_EQ(screen.messages[0].text, c.message);
            EXPECT_EQ(screen.messages[0].style, error ? 16u : 65u);
        }
        // Only a write test cut short is undone.
        if (before.erase("TEST.WRITE") > 0)
            before["files.txt"] = "TEST.WRITE";
        EXPECT_EQ(Tree(), before);
    }
}

TEST_F(Flow, TheStateButtonSwitchesTheWholeSetThereAndBackAndNothingElseDoes) {
    Sample(root, SampleLayout::Original);
    screen.events = {{EVENT_SIZE, 0}, {EVENT_CONTROL, 7}, {EVENT_CONTROL, 0}};
    EXPECT_TRUE(Start());
    EXPECT_EQ(screen.caption, CAPTION_MODIFIED);
    EXPECT_EQ(Tree(), SampleFiles(SampleLayout::Modified, false));
    screen = Screen();
    Click(0);
    EXPECT_TRUE(Start());
    EXPECT_EQ(screen.caption, CAPTION_ORIGINAL);
    EXPECT_EQ(Tree(), SampleFiles(SampleLayout::Original, false));
    EXPECT_TRUE(screen.messages.empty());

    // The caption, not the disk, decides the direction.
    for (const char* caption : {"Dateien sind z. Z. ORIGINALE ", "dateien sind z. z. originale",
                                CAPTION_CONFLICT, "Status wurde nicht gescannt!"}) {
        screen.caption = caption;
        ToggleFileSet();
        EXPECT_EQ(screen.caption, caption);
    }
    EXPECT_EQ(Tree(), SampleFiles(SampleLayout::Original, false));
    // A failed switch can leave neither marker: the modified set reads as live then.
    std::filesystem::remove(root / "MOD!files.txt");
    ScanStatus();
    EXPECT_EQ(screen.caption, CAPTION_MODIFIED);
}

TEST_F(Flow, ASwitchNamesWhatItCouldNotMoveTenAtMost) {
    Sample(root, SampleLayout::Original);
    InjectFaults({{FileOperation::Rename, HANDLING, FileFailure::InUse}});
    Click(0);
    EXPECT_TRUE(Start());
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].title, TITLE_ERROR);
    EXPECT_EQ(screen.messages[0].style, 16u);
    EXPECT_EQ(screen.messages[0].text,
              std::string(SWITCH_FAILED) + HANDLING + " (in Benutzung)" + SWITCH_ADVICE);
    // Scanned before the message, so the caption behind it is true.
    EXPECT_EQ(screen.caption, CAPTION_MODIFIED);

    Fresh();
    Sample(root, SampleLayout::Modified);
    // Every row but the marker's blocked by a stale modified copy.
    for (int row = 0; row < MANAGED_FILE_COUNT - 1; ++row)
        Write(Parked(ManagedFileTable[row].livePath, PREFIX_MODIFIED), "stale");
    Click(0);
    EXPECT_TRUE(Start());
    ASSERT_EQ(screen.messages.size(), 1u);
    const std::string& text = screen.messages[0].text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 10 + 1 + 2);
    EXPECT_NE(text.find("\ncommon\\data\\action_table.csv (Name bereits vergeben)\n"),
              std::string::npos);
    EXPECT_NE(text.find("\n... und 174 weitere Dateien\n\n"), std::string::npos);
}

TEST_F(Flow, EveryRefusedInstallationChangesNothing) {
    struct {
        const char* name;
        int answer;
        const char* removed;
        const char* added;
        std::vector<Fault> faults;
        const char* error;
    } const cases[] = {
        {"cancelled", ANSWER_CANCEL, nullptr, nullptr, {}, nullptr},
        {"box not shown", ANSWER_NONE, nullptr, nullptr, {}, nullptr},
        {"setup 1 missing", ANSWER_OK, "Setup1.Vornak", nullptr, {}, SETUP_MISSING},
        {"setup 2 missing", ANSWER_OK, "Setup2.Vornak", nullptr, {}, SETUP_MISSING},
        {"setup 2 unreadable",
         ANSWER_OK,
         nullptr,
         nullptr,
         {{FileOperation::Probe, "Setup2.Vornak", FileFailure::AccessDenied}},
         SETUP_MISSING},
        {"TEST.WRITE left", ANSWER_OK, nullptr, "TEST.WRITE", {}, WRITE_FAILED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        Sample(root, SampleLayout::Fresh, true);
        if (c.removed != nullptr)
            std::filesystem::remove(root / c.removed);
        if (c.added != nullptr)
            Write(c.added, "left over");
        FileTree before = Tree();
        InjectFaults(c.faults);
        screen.answers = {c.answer};
        EXPECT_TRUE(Start());
        std::vector<std::string> expected = {TEXT_CONSENT};
        if (c.error != nullptr)
            expected.push_back(c.error);
        EXPECT_EQ(Texts(), expected);
        if (c.error != nullptr) {
            EXPECT_EQ(screen.messages[1].title, TITLE_ERROR);
            EXPECT_EQ(screen.messages[1].style, 16u);
        }
        EXPECT_FALSE(screen.mainWindow);
        EXPECT_EQ(Tree(), before);
    }
}

TEST_F(Flow, AnIncompleteInstallationNamesEachFileAndItsCause) {
    struct {
        const char* name;
        const char* obstacle; // a file written, or a directory removed (trailing backslash)
        std::vector<Fault> faults;
        const char* lines;
        bool installed;
    } const cases[] = {
        {"old parked file list",
         "pc\\data\\ORI!filelist.pak",
         {},
         "pc\\data\\filelist.pak (Name bereits vergeben: pc\\data\\ORI!filelist.pak)\n"
         "Setup2.Vornak (Name bereits vergeben: pc\\data\\filelist.pak)",
         true},
        {"pc\\data missing",
         "pc\\data\\",
         {},
         "Setup2.Vornak (Zielordner fehlt: pc\\data\\filelist.pak)",
         true},
        {"disk full",
         nullptr,
         {{FileOperation::Copy, "common\\data\\gta.dat", FileFailure::DiskFull}},
         "common\\data\\gta.dat (Datentr\xE4ger voll)",
         true},
        // files.txt could not get its name back: nothing else may move.
        {"files.txt held after the write test",
         nullptr,
         {{FileOperation::Rename, "TEST.WRITE", FileFailure::InUse}},
         "TEST.WRITE (in Benutzung)",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        Sample(root, SampleLayout::Fresh, true);
        std::string obstacle = c.obstacle != nullptr ? c.obstacle : "";
        if (!obstacle.empty() && obstacle.back() == '\\')
            std::filesystem::remove_all(GamePath(root, obstacle.substr(0, obstacle.size() - 1)));
        else if (!obstacle.empty())
            Write(obstacle, "earlier");
        FileTree before = Tree();
        InjectFaults(c.faults);
        EXPECT_TRUE(Start());
        ASSERT_EQ(screen.messages.size(), 2u);
        EXPECT_EQ(screen.messages[1].title, TITLE_ERROR);
        EXPECT_EQ(screen.messages[1].text,
                  std::string(INSTALL_INCOMPLETE) + c.lines + INSTALL_ADVICE);
        EXPECT_EQ(screen.mainWindow, c.installed);
        if (!c.installed) {
            before["TEST.WRITE"] = before["files.txt"];
            before.erase("files.txt");
            EXPECT_EQ(Tree(), before);
        }
    }
}

TEST_F(Flow, DecliningTheUninstallationChangesNothingAndTheWindowStays) {
    for (int answer : {ANSWER_CANCEL, ANSWER_NONE}) {
        Fresh();
        Sample(root, SampleLayout::Original);
        FileTree before = Tree();
        screen.answers = {answer};
        Click(2);
        Click(1);
        EXPECT_TRUE(Start());
        ASSERT_EQ(screen.messages.size(), 3u);
        EXPECT_EQ(screen.messages[0].text, TEXT_UNINSTALL_QUESTION);
        EXPECT_EQ(screen.messages[0].style, 49u);
        EXPECT_EQ(screen.messages[1].title, "Tauschwerk");
        EXPECT_EQ(screen.messages[1].text, "Gute Entscheidung  ;-)");
        EXPECT_EQ(screen.messages[1].style, 0u);
        EXPECT_EQ(screen.messages[2].title, "Tauschwerk: Infos");
        EXPECT_EQ(Tree(), before);
    }
}

// Nothing is renamed back or deleted while an original could still be lost.
TEST_F(Flow, AnUninstallationThatWouldLoseAnOriginalStops) {
    struct {
        const char* name;
        SampleLayout layout;
        const char* added;
        std::vector<Fault> faults;
        const char* report;
        const char* caption;
    } const cases[] = {
        {"file held open",
         SampleLayout::Modified,
         nullptr,
         {{FileOperation::Rename, HANDLING, FileFailure::InUse}},
         "common\\data\\handling.dat (in Benutzung)",
         CAPTION_ORIGINAL},
        {"original still parked",
         SampleLayout::Original,
         "common\\data\\ORI!handling.dat",
         {},
         "common\\data\\handling.dat (Original noch nicht zur\xFC"
         "ckgeholt)",
         CAPTION_ORIGINAL},
        {"stray marker beside a live files.txt",
         SampleLayout::Original,
         "ORI!files.txt",
         {},
         "ORI!files.txt (Markierung doppelt)\nMOD!files.txt (Markierung doppelt)",
         CAPTION_CONFLICT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        Sample(root, c.layout);
        if (c.added != nullptr)
            Write(c.added, "parked");
        FileTree before = Tree();
        InjectFaults(c.faults);
        Click(2);
        Click(1);
        EXPECT_TRUE(Start());
        ASSERT_EQ(screen.messages.size(), 3u);
        bool stray = c.caption == CAPTION_CONFLICT;
        EXPECT_EQ(screen.messages[1].text, std::string(UNINSTALL_ABORTED) + c.report +
                                               (stray ? STRAY_MARKER_ADVICE : ABORTED_ADVICE));
        EXPECT_EQ(screen.messages[2].title, "Tauschwerk: Infos");
        EXPECT_EQ(screen.caption, c.caption);
        EXPECT_EQ(InventoryOf(Tree()), InventoryOf(before));
        if (c.layout == SampleLayout::Original) {
            EXPECT_EQ(Tree(), before);
        }
    }
}

TEST_F(Flow, AnIncompleteUninstallationKeepsEveryOnlyCopyAndSaysSo) {
    struct {
        const char* name;
        bool noSavedOriginal; // the installation could not save the original of HANDLING
        const char* obstacle; // written: a file; with a trailing backslash: a directory
        std::vector<Fault> faults;
        const char* lines;
        const char* kept;
        std::string content;
    } const cases[] = {
        {"no original saved",
         true,
         "",
         {},
         "common\\data\\MOD!handling.dat (kein Original gesichert, Datei behalten)",
         "common\\data\\MOD!handling.dat",
         OriginalContent(HANDLING)},
        {"a directory in the original's place",
         true,
         "common\\data\\ORI!handling.dat\\",
         {},
         "common\\data\\MOD!handling.dat (kein Original gesichert, Datei behalten)",
         "common\\data\\MOD!handling.dat",
         OriginalContent(HANDLING)},
        {"delete refused, setup name taken",
         false,
         "Setup1.Vornak",
         {{FileOperation::Delete, "common\\data\\MOD!gta.dat", FileFailure::AccessDenied}},
         "common\\data\\MOD!gta.dat (Zugriff verweigert)\n"
         "MOD!files.txt (Name bereits vergeben: Setup1.Vornak)",
         "MOD!files.txt",
         ModifiedContent("files.txt")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        Sample(root, SampleLayout::Modified);
        if (c.noSavedOriginal) {
            std::filesystem::remove(GamePath(root, "common\\data\\ORI!handling.dat"));
            Write(HANDLING, OriginalContent(HANDLING));
        }
        std::string obstacle = c.obstacle;
        if (!obstacle.empty() && obstacle.back() == '\\')
            Write(obstacle + "inside", "a directory");
        else if (!obstacle.empty())
            Write(obstacle, "already here");
        InjectFaults(c.faults);
        Click(2);
        EXPECT_TRUE(Start());
        ASSERT_EQ(screen.messages.size(), 2u);
        EXPECT_EQ(screen.messages[1].title, TITLE_ERROR);
        EXPECT_EQ(screen.messages[1].text,
                  std::string(UNINSTALL_INCOMPLETE) + c.lines + INCOMPLETE_ADVICE);
        EXPECT_EQ(Read(c.kept), c.content);
        EXPECT_TRUE(OriginalsSurvive(Tree()));
    }
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

// Where a stop matters most: around every operation on the markers, the switch-only rows
// and the setup files, and wherever the kind of work changes; elsewhere at a stride.
std::vector<long> StopPoints() {
    std::vector<long> points = {0, static_cast<long>(operations.size())};
    auto special = [](const std::string& operation) {
        for (const char* name : {"files.txt", "filelist.pak", "Setup", "TEST.WRITE"})
            if (operation.find(name) != std::string::npos)
                return true;
        return false;
    };
    FileOperation work = FileOperation::Probe;
    for (size_t i = 1; i < operations.size(); ++i) {
        FileOperation call = operations[i].first;
        bool newWork = call != FileOperation::Probe && call != work;
        if (newWork)
            work = call;
        if (special(operations[i].second) || newWork) {
            points.push_back(static_cast<long>(i));
            points.push_back(static_cast<long>(i + 1));
        } else if (i % 37 == 0) {
            points.push_back(static_cast<long>(i));
        }
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    return points;
}

struct Scenario {
    const char* name;
    SampleLayout layout;
    bool interruptedSwitch;            // start from a switch cut short in its second phase
    int control;                       // what the player clicks; -1: the installation runs
    std::vector<const char*> messages; // shown when nothing stops it
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

class KilledAndStartedAgain : public GameTest, public testing::WithParamInterface<Scenario> {
  protected:
    void Prepare() {
        const Scenario& scenario = GetParam();
        Sample(root, scenario.layout, scenario.control < 0);
        if (scenario.control < 0) {
            // The backup must replace an old copy and pass over a missing file.
            Write("common\\data\\ORI!handling.dat", "stale");
            std::filesystem::remove(root / "pc/stream.ini");
        }
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
    // Every original, and every modified file until an uninstallation was confirmed, is
    // still somewhere in the directory.
    void ExpectNothingLost(const FileTree& initial) {
        Inventory contents = InventoryOf(Tree());
        bool uninstalling = GetParam().control == 2;
        for (const auto& [path, content] : initial) {
            bool modified = content.rfind("modified ", 0) == 0;
            bool switchOnly = path == "files.txt" || path == "pc/data/filelist.pak" ||
                              path.find("Setup") == 0 ||
                              path.find("!files.txt") != std::string::npos ||
                              path.find("!filelist.pak") != std::string::npos;
            if (content != "stale" && (!modified || !uninstalling || switchOnly)) {
                EXPECT_GT(contents.count(content), 0u) << path;
            }
        }
    }
};

TEST_P(KilledAndStartedAgain, LosesNothingAndTheSameStepsAgainFinish) {
    const Scenario& scenario = GetParam();
    Prepare();
    const FileTree initial = Tree();
    // What the player ends with: the originals live, the modified files.txt and
    // filelist.pak kept as the setup files.
    FileTree settled = SampleFiles(SampleLayout::Fresh, false);
    if (scenario.control < 0)
        settled.erase("pc/stream.ini");
    bool installing = scenario.control < 0;
    settled["Setup1.Vornak"] = installing ? SetupContent(1) : ModifiedContent("files.txt");
    settled["Setup2.Vornak"] =
        installing ? SetupContent(2) : ModifiedContent("pc\\data\\filelist.pak");
    operations.clear();
    SetFileFaultHook(RecordOperation);
    EXPECT_TRUE(Start());
    EXPECT_EQ(Texts(),
              std::vector<std::string>(scenario.messages.begin(), scenario.messages.end()));
    const FileTree completed = Tree();

    for (long k : StopPoints()) {
        SCOPED_TRACE(testing::Message()
                     << "killed after " << k << " of " << operations.size()
                     << " operations, before "
                     << (k < static_cast<long>(operations.size()) ? operations[k].second
                                                                  : "the end"));
        Fresh();
        Prepare();
        operationsLeft = k;
        SetFileFaultHook(KillAfterOperations);
        EXPECT_TRUE(Start());
        SetFileFaultHook(nullptr);
        if (k == static_cast<long>(operations.size())) {
            EXPECT_EQ(Tree(), completed);
        }
        ExpectNothingLost(initial);

        // Killed between moving Setup2.Vornak in and parking files.txt, the installation
        // cannot be offered again; nothing is lost, and the player is told a file is missing.
        bool stuck =
            installing && Read("Setup2.Vornak") == ABSENT && Read("ORI!files.txt") == ABSENT;
        screen = Screen();
        if (scenario.control == 0)
            Click(0);
        Click(2);
        EXPECT_TRUE(Start());
        if (stuck) {
            EXPECT_EQ(Texts(), (std::vector<std::string>{TEXT_CONSENT, SETUP_MISSING}));
            ExpectNothingLost(initial);
        } else {
            EXPECT_EQ(Texts().back(), UNINSTALLED);
            EXPECT_EQ(Tree(), settled);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    , KilledAndStartedAgain,
    testing::Values(
        Scenario{"Installation", SampleLayout::Fresh, false, -1, {TEXT_CONSENT, TEXT_INSTALLED}},
        Scenario{"SwitchToModified", SampleLayout::Original, false, 0, {}},
        Scenario{"SwitchToOriginal", SampleLayout::Modified, false, 0, {}},
        Scenario{"UninstallFromModified",
                 SampleLayout::Modified,
                 false,
                 2,
                 {TEXT_UNINSTALL_QUESTION, UNINSTALLED}},
        Scenario{"UninstallFromOriginal",
                 SampleLayout::Original,
                 false,
                 2,
                 {TEXT_UNINSTALL_QUESTION, UNINSTALLED}},
        Scenario{"UninstallFromAnInterruptedSwitch",
                 SampleLayout::Original,
                 true,
                 2,
                 {TEXT_UNINSTALL_QUESTION, UNINSTALLED}}),
    [](const testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

} // namespace
