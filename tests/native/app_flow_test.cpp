// The application flow on real files with a scripted screen: every start, every report of
// the installation, a switch, the uninstallation and the start-up repairs, word for word.

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "app/main_window_controls.h"
#include "sample/sample_game.h"
#include "tests/expected_texts.h"
#include "tests/native/game_test.h"

namespace {

const ShownMessage CONSENT = {expected::TITLE_INSTALLATION, expected::TEXT_CONSENT,
                              expected::BOX_INFO_QUESTION};
const ShownMessage INSTALLED = {expected::TITLE_INFO, expected::TEXT_INSTALLED, expected::BOX_INFO};
const ShownMessage NOT_IN_GAME_DIRECTORY = {
    expected::TITLE_ERROR, expected::TEXT_NOT_IN_GAME_DIRECTORY, expected::BOX_ERROR};
const ShownMessage SETUP_MISSING = {expected::TITLE_ERROR, expected::TEXT_SETUP_MISSING,
                                    expected::BOX_ERROR};
const ShownMessage WRITE_FAILED = {expected::TITLE_ERROR, expected::TEXT_WRITE_FAILED,
                                   expected::BOX_ERROR};
const ShownMessage QUESTION = {expected::TITLE_UNINSTALL, expected::TEXT_UNINSTALL_QUESTION,
                               expected::BOX_WARNING_QUESTION};
const ShownMessage DECLINED = {expected::TITLE_PLAIN, expected::TEXT_DECLINED, expected::BOX_PLAIN};
const ShownMessage UNINSTALLED = {expected::TITLE_UNINSTALL, expected::TEXT_UNINSTALLED,
                                  expected::BOX_INFO};

// An error report: its first line, the files (one "path (reason)" to a line), each advice
// line ending in a line feed, and the next step.
ShownMessage Report(const char* first, const std::string& files,
                    std::initializer_list<const char*> advice, const char* next) {
    std::string text = std::string(first) + "\n\n" + files + "\n\n";
    for (const char* line : advice)
        text += std::string(line) + "\n";
    return {expected::TITLE_ERROR, text + next, expected::BOX_ERROR};
}

// Another program holds the file: it can be neither renamed nor looked at.
Fault Held(const char* path) {
    return {FileOperation::Rename, path, FileFailure::InUse};
}
Fault Unreadable(const char* path) {
    return {FileOperation::Probe, path, FileFailure::InUse};
}

using Flow = GameTest;

// What a case may change on disk.
enum Disk {
    UNCHANGED,
    NOTHING_DELETED, // files renamed or copied, none gone
    MODIFIED_MAY_GO, // a confirmed uninstallation deletes modified files; originals stay
};

// A start in a sample game: where the markers send it, the player's answer and clicks, every
// message shown, and what is on disk afterwards.
struct FlowCase {
    SampleLayout layout; // Fresh comes with the setup files
    std::vector<std::string> changes = {};
    std::vector<Fault> faults = {};
    int answer = ANSWER_OK;       // to the first box
    std::vector<int> clicks = {}; // in the main window, before the player closes it
    std::vector<ShownMessage> messages = {};
    // The state button's caption when the player closes the main window; none when the
    // program ends by itself.
    std::optional<std::string> closedAt = {};
    Disk disk = UNCHANGED;
};

TEST_F(Flow, EveryStartRefusalAndFailureIsToldOverATrueCaptionAndLosesNothing) {
    // One row a case, as it reads best.
    // clang-format off
    const Fault DISK_FULL_ON_GTA = {FileOperation::Copy, "common\\data\\gta.dat", FileFailure::DiskFull};
    const Fault COPY_DENIED = {FileOperation::Copy, HANDLING, FileFailure::AccessDenied};
    auto InstallAborted = [](const char* files, std::initializer_list<const char*> advice) {
        return std::vector<ShownMessage>{CONSENT, Report(expected::INSTALL_ABORTED, files, advice, expected::NEXT_INSTALL_AGAIN)};
    };
    auto UninstallStopped = [](const char* first, const char* files, const char* advice) {
        return std::vector<ShownMessage>{QUESTION, Report(first, files, {advice}, expected::NEXT_UNINSTALL_AGAIN)};
    };
    const char STRAY[] = "ORI!files.txt (Markierung doppelt)\nMOD!files.txt (Markierung doppelt)";
    // Told at the start, and again by the uninstallation it refuses.
    auto Stray = [&](const char* advice) {
        return std::vector<ShownMessage>{Report(expected::START_UNDECIDED, STRAY, {}, advice), QUESTION,
                                         Report(expected::UNINSTALL_ABORTED, STRAY, {}, advice)};
    };
    const char KEPT[] = "common\\data\\MOD!handling.dat (kein Original gesichert, Datei behalten)";
    const std::vector<std::string> CUT_SWITCH = {"-files.txt", "MOD!files.txt"};
    const ShownMessage UNFINISHED = {expected::TITLE_ERROR, expected::TEXT_UNINSTALL_UNFINISHED, expected::BOX_ERROR};
    const FlowCase cases[] = {
        {.layout = FRESH, .changes = {"MOD!files.txt"}, .faults = {Unreadable("MOD!files.txt")}, .closedAt = expected::CAPTION_ORIGINAL},
        // A marker beside no files.txt, and no setup file to fill it: nothing names a set.
        {.layout = MODIFIED, .changes = {"-files.txt"}, .messages = {Report(expected::START_UNDECIDED, "files.txt (nicht gefunden)",
            {expected::ADVICE_NOT_FOUND}, expected::NEXT_START_AGAIN)}, .closedAt = expected::CAPTION_CONFLICT},
        // A repair that fails in a directory not installed offers nothing more.
        {.layout = FRESH, .changes = {"-pc\\data\\filelist.pak", "pc\\data\\ORI!filelist.pak"}, .faults = {Held("pc\\data\\ORI!filelist.pak")},
            .messages = {Report(expected::REPAIR_FAILED, "pc\\data\\ORI!filelist.pak (in Benutzung)", {expected::ADVICE_HELD}, expected::NEXT_REPAIR_AT_START)}},
        // A repair never moves a folder: an installation cut after its marker waits for it.
        {.layout = MODIFIED, .changes = {"-files.txt", "Setup1.Vornak\\"}, .messages = {Report(expected::REPAIR_FAILED, "Setup1.Vornak (Ordner statt Datei)",
            {expected::ADVICE_DIRECTORY}, expected::NEXT_REPAIR_AT_START)}, .closedAt = expected::CAPTION_CONFLICT},
        {.layout = FRESH, .changes = {"-files.txt", "files.txt\\"}, .answer = ANSWER_CANCEL, .messages = {CONSENT}},
        {.layout = FRESH, .changes = {"-files.txt"}, .messages = {NOT_IN_GAME_DIRECTORY}},
        // A TEST.WRITE is files.txt under its test name only beside both setup files.
        {.layout = FRESH, .changes = {"-files.txt", "TEST.WRITE", "-Setup2.Vornak"}, .messages = {NOT_IN_GAME_DIRECTORY}},
        {.layout = FRESH, .answer = ANSWER_NONE, .messages = {CONSENT}},
        {.layout = FRESH, .changes = {"-Setup1.Vornak"}, .messages = {CONSENT, SETUP_MISSING}},
        // Both setup files are needed, and one that cannot be looked at counts as missing.
        {.layout = FRESH, .faults = {Unreadable("Setup2.Vornak")}, .messages = {CONSENT, SETUP_MISSING}},
        {.layout = FRESH, .changes = {"TEST.WRITE"}, .messages = {CONSENT, WRITE_FAILED}},
        // A MOD! copy left from an earlier life, or an ORI! copy unlike its live file, may be
        // the only copy of a file; a folder where a file belongs is named too.
        {.layout = FRESH, .changes = {MODIFIED_HANDLING, "common\\data\\ORI!gta.dat", "-common\\data\\ambient.dat", "common\\data\\ambient.dat\\"},
            .messages = InstallAborted("common\\data\\ambient.dat (Ordner statt Datei)\ncommon\\data\\ORI!gta.dat (von fr\xFC" "her \xFC" "brig)\n"
            "common\\data\\MOD!handling.dat (von fr\xFC" "her \xFC" "brig)", {expected::ADVICE_DIRECTORY, expected::ADVICE_LEFT_OVER})},
        // A link is never followed: the file it leads to lies outside the game directory.
        {.layout = FRESH, .changes = {"@common\\data\\handling.dat"}, .messages = InstallAborted("common\\data\\handling.dat (Verkn\xFC" "pfung)",
            {expected::ADVICE_LINK})},
        {.layout = FRESH, .changes = {"pc\\data\\ORI!filelist.pak"}, .messages = InstallAborted("pc\\data\\filelist.pak (Name bereits vergeben: "
            "pc\\data\\ORI!filelist.pak)", {expected::ADVICE_TAKEN})},
        // files.txt cannot get its name back from the write test: nothing else may move.
        {.layout = FRESH, .faults = {Held("TEST.WRITE")}, .messages = {CONSENT, Report(expected::INSTALL_NOT_STARTED, "TEST.WRITE (in Benutzung)",
            {expected::ADVICE_HELD}, expected::NEXT_TEST_NAME)}, .disk = NOTHING_DELETED},
        // The backup goes on to its end and names every file it could not save; stopped, the
        // installation takes back the copies it made: every original live, as before.
        {.layout = FRESH, .faults = {DISK_FULL_ON_GTA, COPY_DENIED, {FileOperation::Copy, "pc\\stream.ini", FileFailure::InUse},
            {FileOperation::Flush, "pc\\data\\TMP!ORI!gta4pc.png", FileFailure::Other}}, .messages = InstallAborted("common\\data\\gta.dat (Datentr\xE4ger voll)\n"
            "common\\data\\handling.dat (Zugriff verweigert)\npc\\stream.ini (in Benutzung)\npc\\data\\gta4pc.png (Fehler)",
            {expected::ADVICE_FULL, expected::ADVICE_DENIED, expected::ADVICE_HELD, expected::ADVICE_OTHER})},
        {.layout = FRESH, .changes = {"common\\data\\TMP!ORI!handling.dat\\"}, .messages = InstallAborted("common\\data\\handling.dat (Name bereits vergeben: "
            "common\\data\\TMP!ORI!handling.dat)", {expected::ADVICE_TAKEN})},
        // The marker cannot be set: filelist.pak comes back, and a copy whose live file
        // changed meanwhile stays, named.
        {.layout = FRESH, .faults = {{FileOperation::Rename, "files.txt", FileFailure::InUse, "ORI!files.txt", -1, HANDLING}},
            .messages = InstallAborted("files.txt (in Benutzung)\ncommon\\data\\ORI!handling.dat (Kopie nicht zur\xFC" "ckgenommen)",
            {expected::ADVICE_HELD, expected::ADVICE_COPY_KEPT}), .disk = NOTHING_DELETED},
        // Past the marker the originals are saved; the next start puts the setup files in.
        {.layout = FRESH, .faults = {{FileOperation::Flush, "", FileFailure::Other}}, .messages = {CONSENT, Report(expected::INSTALL_UNFINISHED,
            "files.txt (Fehler)", {expected::ADVICE_OTHER}, expected::NEXT_INSTALL_AT_START)}, .disk = NOTHING_DELETED},
        {.layout = FRESH, .faults = {Held("Setup1.Vornak")}, .messages = {CONSENT, Report(expected::INSTALL_UNFINISHED, "Setup1.Vornak (in Benutzung)",
            {expected::ADVICE_HELD}, expected::NEXT_INSTALL_AT_START)}, .disk = NOTHING_DELETED},
        // The uninstallation: its question first, then what it tells.
        {.layout = ORIGINAL, .answer = ANSWER_NONE, .clicks = {UNINSTALL}, .messages = {QUESTION, DECLINED}, .closedAt = expected::CAPTION_ORIGINAL},
        {.layout = ORIGINAL, .changes = {PARKED_HANDLING}, .clicks = {UNINSTALL}, .messages = UninstallStopped(expected::UNINSTALL_ABORTED,
            "common\\data\\handling.dat (Original noch nicht zur\xFC" "ckgeholt: common\\data\\ORI!handling.dat)", expected::ADVICE_STILL_PARKED),
            .closedAt = expected::CAPTION_ORIGINAL},
        // A setup file unzipped again would take the name the modified files.txt goes back
        // to; from either set, nothing moves.
        {.layout = MODIFIED, .changes = {"Setup1.Vornak", "Setup2.Vornak"}, .clicks = {UNINSTALL}, .messages = UninstallStopped(expected::UNINSTALL_ABORTED,
            "files.txt (Name bereits vergeben: Setup1.Vornak)\npc\\data\\filelist.pak (Name bereits vergeben: Setup2.Vornak)", expected::ADVICE_TAKEN),
            .closedAt = expected::CAPTION_MODIFIED},
        // Both markers beside a live files.txt: the parked copies tell which one is stray.
        {.layout = ORIGINAL, .changes = {"ORI!files.txt"}, .clicks = {UNINSTALL}, .messages = Stray(expected::STRAY_ORIGINAL_MARKER),
            .closedAt = expected::CAPTION_CONFLICT},
        {.layout = MODIFIED, .changes = {"MOD!files.txt"}, .clicks = {UNINSTALL}, .messages = Stray(expected::STRAY_MODIFIED_MARKER),
            .closedAt = expected::CAPTION_CONFLICT},
        {.layout = ORIGINAL, .changes = {"ORI!files.txt", "-common\\data\\MOD!handling.dat", PARKED_HANDLING}, .clicks = {UNINSTALL},
            .messages = Stray(expected::STRAY_MARKER_UNDECIDED), .closedAt = expected::CAPTION_CONFLICT},
        // A modified file with no original beside it is kept, and the uninstallation reads as
        // not finished until a run finishes it.
        {.layout = MODIFIED, .changes = {std::string("-") + PARKED_HANDLING}, .clicks = {UNINSTALL},
            .messages = UninstallStopped(expected::UNINSTALL_INCOMPLETE, KEPT, expected::ADVICE_KEPT), .disk = MODIFIED_MAY_GO},
        {.layout = ORIGINAL, .changes = {"-files.txt", "DEI!files.txt"}, .clicks = {UNINSTALL}, .messages = {UNFINISHED, QUESTION, UNINSTALLED},
            .disk = MODIFIED_MAY_GO},
        // A switch refuses before it moves anything where a copy lies in a live file's way,
        // or files.txt will not move; a held other row lets the rest go, but the markers say
        // the switch did not finish.
        {.layout = ORIGINAL, .changes = {PARKED_HANDLING}, .clicks = {STATE}, .messages = {Report(expected::SWITCH_REFUSED,
            "common\\data\\ORI!handling.dat (Kopie im Weg)", {expected::ADVICE_IN_THE_WAY}, expected::NEXT_SWITCH_AGAIN)},
            .closedAt = expected::CAPTION_ORIGINAL},
        {.layout = ORIGINAL, .faults = {Held("files.txt")}, .clicks = {STATE}, .messages = {Report(expected::SWITCH_REFUSED,
            "files.txt (in Benutzung)", {expected::ADVICE_HELD}, expected::NEXT_SWITCH_AGAIN)}, .closedAt = expected::CAPTION_ORIGINAL},
        {.layout = ORIGINAL, .faults = {{FileOperation::Rename, HANDLING, FileFailure::Other}}, .clicks = {STATE}, .messages = {Report(expected::SWITCH_FAILED,
            "common\\data\\handling.dat (Fehler)", {expected::ADVICE_OTHER}, expected::NEXT_SWITCH_AT_START)},
            .closedAt = expected::CAPTION_CONFLICT, .disk = NOTHING_DELETED},
        // A start leaves a row holding three files as it is.
        {.layout = MODIFIED, .changes = {"-files.txt", "MOD!files.txt", MODIFIED_HANDLING}, .messages = {Report(expected::REPAIR_FAILED,
            "common\\data\\handling.dat (drei Fassungen: common\\data\\ORI!handling.dat, common\\data\\MOD!handling.dat)",
            {expected::ADVICE_THREE_FILES}, expected::NEXT_REPAIR_AT_START)}, .closedAt = expected::CAPTION_CONFLICT},
        // A start that cannot finish a stopped switch tells so; once the hold ends, the
        // uninstallation finishes the switch as the start would.
        {.layout = MODIFIED, .changes = CUT_SWITCH, .faults = {{FileOperation::Rename, HANDLING, FileFailure::InUse, "", 1}}, .clicks = {UNINSTALL},
            .messages = {Report(expected::REPAIR_FAILED, "common\\data\\handling.dat (in Benutzung)", {expected::ADVICE_HELD}, expected::NEXT_REPAIR_AT_START),
            QUESTION, UNINSTALLED}, .disk = MODIFIED_MAY_GO},
    };
    // clang-format on
    for (const FlowCase& c : cases) {
        SCOPED_TRACE(c.messages.empty() ? c.closedAt.value() : std::get<1>(c.messages.back()));
        Fresh();
        ASSERT_TRUE(MakeSampleGame(root, c.layout, c.layout == FRESH));
        Change(c.changes);
        const FileTree before = Tree();
        InjectFaults(c.faults);
        screen.answer = c.answer;
        screen.clicks.assign(c.clicks.begin(), c.clicks.end());
        EXPECT_TRUE(Start());
        EXPECT_EQ(screen.messages, c.messages);
        EXPECT_EQ(screen.closed, c.closedAt.has_value());
        if (c.closedAt) {
            EXPECT_EQ(screen.caption, *c.closedAt);
            EXPECT_EQ(screen.stateDisabled, *c.closedAt == expected::CAPTION_CONFLICT);
            // Scanned before it reports: the caption behind a report over the main window is
            // already true.
            for (size_t i = 0; i < screen.messages.size(); ++i) {
                if (std::get<0>(screen.messages[i]) == expected::TITLE_ERROR &&
                    !screen.captionsBehind[i].empty()) {
                    EXPECT_EQ(screen.captionsBehind[i], *c.closedAt);
                }
            }
        }
        if (c.disk == UNCHANGED) {
            EXPECT_EQ(Tree(), before);
        }
        // Only a confirmed uninstallation deletes, and only modified files.
        const Inventory after = InventoryOf(Tree());
        for (const std::string& content : InventoryOf(before))
            if (c.disk != MODIFIED_MAY_GO || content.rfind("modified ", 0) != 0) {
                EXPECT_GT(after.count(content), 0u) << content;
            }
        // No advice asks to delete a file.
        for (const ShownMessage& message : screen.messages) {
            std::string text = std::get<1>(message);
            const std::string notToDelete = "(l\xF6schen Sie sie nicht)";
            for (size_t at; (at = text.find(notToDelete)) != std::string::npos;)
                text.erase(at, notToDelete.size());
            EXPECT_EQ(text.find("l\xF6schen Sie"), std::string::npos) << text;
            // Uninstalling again needs a directory that still reads as installed.
            if (text.find(expected::NEXT_UNINSTALL_AGAIN) != std::string::npos) {
                EXPECT_TRUE(Read(MARKER_MODIFIED) != ABSENT || Read(MARKER_ORIGINAL) != ABSENT ||
                            Read(MARKER_UNINSTALLING) != ABSENT);
            }
        }
    }
}

TEST_F(Flow, ASwitchFollowsTheCaptionNotTheDiskAndNamesTenFilesAtMost) {
    ASSERT_TRUE(MakeSampleGame(root, MODIFIED, NO_SETUP_FILES));
    const FileTree before = Tree();
    for (const char* caption : {"Dateien sind z. Z. MODIFIZIERT ", "dateien sind z. z. modifiziert",
                                "Dateien sind z. Z. ORIGINALE ", expected::CAPTION_CONFLICT,
                                "Status wurde nicht gescannt!"}) {
        screen.caption = caption;
        ToggleFileSet();
        EXPECT_EQ(screen.caption, caption);
    }
    EXPECT_EQ(Tree(), before);

    // Every row but the marker's with a second modified copy in the way.
    for (int row = 0; row < MANAGED_FILE_COUNT - 1; ++row)
        Write(Parked(ManagedFileTable[row].livePath, PREFIX_MODIFIED), "stale");
    screen.caption = expected::CAPTION_MODIFIED;
    ToggleFileSet();
    ASSERT_EQ(screen.messages.size(), 1u);
    const std::string& text = std::get<1>(screen.messages[0]);
    // Line feeds: after the first line, before each of ten files and before the count of the
    // rest, two after them, one after the only advice line.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 10 + 1 + 2 + 1);
    EXPECT_NE(text.find("\ncommon\\data\\MOD!action_table.csv (Kopie im Weg)\n"),
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

// Each file operation, with its kind first.
std::vector<std::string> operations;

FileFailure RecordOperation(FileOperation call, const char* source, const char* target) {
    static const std::map<FileOperation, std::string> NAMES = {
        {FileOperation::Probe, "Probe"},     {FileOperation::List, "List"},
        {FileOperation::Copy, "Copy"},       {FileOperation::Flush, "Flush"},
        {FileOperation::Replace, "Replace"}, {FileOperation::Rename, "Rename"},
        {FileOperation::Delete, "Delete"}};
    operations.push_back(NAMES.at(call) + " " + source + " " + (target != nullptr ? target : ""));
    return FileFailure::None;
}

// The copies reach the disk before their names, and all of them before the marker.
TEST_F(Flow, EveryCopyIsFlushedBeforeItTakesItsNameAndBeforeTheMarker) {
    ASSERT_TRUE(MakeSampleGame(root, FRESH, WITH_SETUP_FILES));
    operations.clear();
    SetFileFaultHook(RecordOperation);
    EXPECT_TRUE(Start());
    ASSERT_EQ(screen.messages.back(), INSTALLED);
    const auto marker = std::find(operations.begin(), operations.end(),
                                  std::string("Rename ") + FILES_TXT + " " + MARKER_ORIGINAL);
    long copies = 0;
    for (auto at = operations.begin() + 1; at < marker; ++at) {
        std::string kind, temporary; // paths hold no blanks
        std::istringstream(*at) >> kind >> temporary;
        if (kind == "Replace" && ++copies) {
            EXPECT_EQ(at[-1], "Flush " + temporary + " ");
        }
    }
    EXPECT_EQ(copies, MANAGED_FILE_COUNT - 2);
}

} // namespace
