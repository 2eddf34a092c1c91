// First-run installation and uninstallation through the flow, against real files.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/program.h"
#include "fileset/file_primitives.h"
#include "fileset/file_table.h"
#include "tests/native/temp_game_dir.h"
#include "tests/native/ui_stand_in.h"
#include "tests/expected_texts.h"
#include "tests/inventory.h"
#include "sample/sample_game.h"
#include "ui/message.h"
#include "ui/window.h"

namespace {

using Tree = std::map<std::string, std::string>;

const char SETUP_MISSING[] =
    "Es fehlen einige Dateien zur Installation!\n"
    "Bitte kopieren Sie alle Dateien aus dem ZIP-Ordner (''Tauschwerk'', ''Setup1'' & "
    "''Setup2'') in das Spielverzeichnis.";
const char WRITE_FAILED[] =
    "Es ist ein Fehler w\xE4hrend eines Schreibvorganges aufgetreten!\n"
    "Sie m\xFCssen diese Anwendung als Administrator ausf\xFChren (s. Kontextmen\xFC)!";

// Records every rename and fails the operations on one path with a chosen reason.
std::vector<std::string> renames;
std::string faultPath;
FileOperation faultOperation;
FileFailure faultReason;
FileFailure RecordAndFail(FileOperation operation, const char* source, const char* target) {
    if (operation == FileOperation::Rename)
        renames.push_back(std::string(source) + " > " + target);
    if (operation == faultOperation && faultPath == source)
        return faultReason;
    return FileFailure::None;
}

class InstallUninstall : public TempGameDir {
  protected:
    void SetUp() override {
        TempGameDir::SetUp();
        ResetUi();
        renames.clear();
        faultPath.clear();
        SetFileFaultHook(RecordAndFail);
    }
    void Sample(SampleLayout layout, bool withSetupFiles) {
        ASSERT_TRUE(MakeSampleGame(root, layout, withSetupFiles));
    }
    void Fail(FileOperation operation, const std::string& path, FileFailure reason) {
        faultOperation = operation;
        faultPath = path;
        faultReason = reason;
    }
    bool Start() { return EndsProgram(MakeStartDecision); }
    const ShownMessage& Message(size_t i) { return Ui().messages.at(i); }
    void ExpectMessage(size_t i, const char* title, const char* text, unsigned style) {
        ASSERT_LT(i, Ui().messages.size());
        EXPECT_EQ(Message(i).title, title);
        EXPECT_EQ(Message(i).text, text);
        EXPECT_EQ(Message(i).style, style);
    }
};

TEST_F(InstallUninstall, EveryRefusalChangesNothing) {
    struct Case {
        const char* name;
        int answer;
        const char* removed;
        const char* extra;
        const char* message;
    } cases[] = {
        {"cancel", ANSWER_CANCEL, nullptr, nullptr, nullptr},
        {"box not shown", ANSWER_NONE, nullptr, nullptr, nullptr},
        {"setup 1 missing", ANSWER_OK, "Setup1.Vornak", nullptr, SETUP_MISSING},
        {"setup 2 missing", ANSWER_OK, "Setup2.Vornak", nullptr, SETUP_MISSING},
        {"TEST.WRITE left", ANSWER_OK, nullptr, "TEST.WRITE", WRITE_FAILED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        Sample(SampleLayout::Fresh, true);
        if (c.removed != nullptr) {
            ASSERT_TRUE(std::filesystem::remove(HostPath(c.removed)));
        }
        if (c.extra != nullptr)
            WriteGameFile(c.extra, "left over");
        Tree before = Snapshot();
        Ui().answers = {c.answer};
        EXPECT_TRUE(Start());
        ExpectMessage(0, "Tauschwerk: Installation", TEXT_CONSENT, 65);
        ASSERT_EQ(Ui().messages.size(), c.message != nullptr ? 2u : 1u);
        if (c.message != nullptr)
            ExpectMessage(1, "Tauschwerk: Fehler", c.message, 16);
        EXPECT_EQ(Ui().windowsCreated, 0);
        EXPECT_EQ(Snapshot(), before);
    }
}

TEST_F(InstallUninstall, ACompleteInstallationParksOriginalsAndOpensTheWindow) {
    Sample(SampleLayout::Fresh, true);
    // A stale copy is replaced; a missing live file is passed over without a word.
    WriteGameFile("common\\data\\ORI!handling.dat", "stale");
    ASSERT_TRUE(std::filesystem::remove(HostPath("pc\\stream.ini")));
    Tree before = Snapshot();
    EXPECT_TRUE(Start());
    ASSERT_EQ(Ui().messages.size(), 2u);
    ExpectMessage(1, "Tauschwerk: Info", TEXT_INSTALLED, 64);
    EXPECT_EQ(Ui().windowsCreated, 1);
    EXPECT_EQ(Ui().captions[0], "Dateien sind z. Z. MODIFIZIERT");
    EXPECT_EQ(renames, (std::vector<std::string>{
                           "files.txt > TEST.WRITE",
                           "TEST.WRITE > files.txt",
                           "files.txt > ORI!files.txt",
                           "pc\\data\\filelist.pak > pc\\data\\ORI!filelist.pak",
                           "Setup1.Vornak > files.txt",
                           "Setup2.Vornak > pc\\data\\filelist.pak",
                       }));
    Tree expected = InstalledFiles();
    expected.erase("pc/stream.ini");
    expected.erase("pc/ORI!stream.ini");
    Tree after = Snapshot();
    EXPECT_EQ(after, expected);
    // The two switch-only files were renamed, not copied: take them out before weighing.
    for (const char* renamed : {"files.txt", "pc/data/filelist.pak", "Setup1.Vornak",
                                "Setup2.Vornak", "ORI!files.txt", "pc/data/ORI!filelist.pak"}) {
        before.erase(renamed);
        after.erase(renamed);
    }
    EXPECT_EQ(BackupInventoryFault(before, after), "");
}

TEST_F(InstallUninstall, AnIncompleteInstallationIsReportedNotPraised) {
    Sample(SampleLayout::Fresh, true);
    WriteGameFile("pc\\data\\ORI!filelist.pak", "earlier");
    Fail(FileOperation::Copy, "common\\data\\gta.dat", FileFailure::DiskFull);
    EXPECT_TRUE(Start());
    ASSERT_EQ(Ui().messages.size(), 2u);
    ExpectMessage(1, "Tauschwerk: Fehler",
                  "Die Installation konnte nicht vollst\xE4ndig abgeschlossen werden!\n\n"
                  "pc\\data\\filelist.pak (Name bereits vergeben)\n"
                  "Setup2.Vornak (Name bereits vergeben)\n"
                  "common\\data\\gta.dat (Datentr\xE4ger voll)\n\n"
                  "F\xFCr die genannten Dateien gibt es m\xF6glicherweise kein gesichertes "
                  "Original: Bearbeiten Sie sie nicht! Schlie\xDF"
                  "en Sie das Spiel und alle Programme, die diese Dateien benutzen, sorgen Sie "
                  "f\xFCr Schreibrechte und freien Speicherplatz und sichern Sie diese Dateien "
                  "selbst, bevor Sie umschalten oder deinstallieren.",
                  16);
    // Installed all the same (ORI!files.txt exists): the main window opens.
    EXPECT_EQ(Ui().windowsCreated, 1);
    EXPECT_EQ(ReadGameFile("pc\\data\\filelist.pak"), OriginalContent("pc\\data\\filelist.pak"));
    EXPECT_EQ(ReadGameFile("Setup2.Vornak"), SetupContent(2));
    EXPECT_FALSE(GameFileExists("common\\data\\ORI!gta.dat"));
}

TEST_F(InstallUninstall, AnInstallationThatCannotParkFilesTxtEnds) {
    Sample(SampleLayout::Fresh, true);
    // The write test passes, but files.txt cannot get its name back.
    Fail(FileOperation::Rename, "TEST.WRITE", FileFailure::InUse);
    EXPECT_TRUE(Start());
    ASSERT_EQ(Ui().messages.size(), 2u);
    EXPECT_EQ(Message(1).title, "Tauschwerk: Fehler");
    EXPECT_NE(Message(1).text.find("\n\nTEST.WRITE (in Benutzung)\n\n"), std::string::npos);
    // Not installed: no window, the program ends.
    EXPECT_EQ(Ui().windowsCreated, 0);
}

struct UninstallCase {
    const char* name;
    SampleLayout layout;
    bool conflict;
};

TEST_F(InstallUninstall, UninstallFromEveryStateRestoresTheOriginals) {
    const UninstallCase cases[] = {
        {"modified", SampleLayout::Modified, false},
        {"original", SampleLayout::Original, false},
        {"conflict", SampleLayout::Modified, true},
    };
    for (const UninstallCase& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        Sample(c.layout, false);
        if (c.conflict)
            WriteGameFile("MOD!files.txt", ModifiedContent("files.txt"));
        Tree before = Snapshot();
        Ui().events = {{EVENT_CONTROL, 2}};
        EXPECT_TRUE(Start());
        ExpectMessage(0, "Tauschwerk: Deinstallation", TEXT_UNINSTALL_QUESTION, 49);
        ExpectMessage(1, "Tauschwerk: Deinstallation",
                      "Deinstallation wurde erfolgreich abgeschlossen!", 64);
        Tree expected;
        if (c.conflict) {
            // Only the conflict's MOD!files.txt moves; the parked originals stay.
            expected = before;
            expected.erase("MOD!files.txt");
        } else {
            expected = SampleFiles(SampleLayout::Fresh, false);
        }
        expected["Setup1.Vornak"] = ModifiedContent("files.txt");
        if (!c.conflict)
            expected["Setup2.Vornak"] = ModifiedContent("pc\\data\\filelist.pak");
        EXPECT_EQ(Snapshot(), expected);
    }
}

TEST_F(InstallUninstall, DecliningTheUninstallationChangesNothing) {
    for (int answer : {ANSWER_CANCEL, ANSWER_NONE}) {
        TearDown();
        SetUp();
        Sample(SampleLayout::Original, false);
        Tree before = Snapshot();
        Ui().events = {{EVENT_CONTROL, 2}};
        Ui().answers = {answer};
        EXPECT_TRUE(Start());
        ASSERT_EQ(Ui().messages.size(), 2u);
        ExpectMessage(1, "Tauschwerk", "Gute Entscheidung  ;-)", 0);
        EXPECT_EQ(Snapshot(), before);
    }
}

TEST_F(InstallUninstall, AnUninstallationThatWouldLoseOriginalsStops) {
    struct Case {
        const char* name;
        SampleLayout layout;
        const char* line;
    } cases[] = {
        // The switch back fails for a file the game holds open.
        {"locked", SampleLayout::Modified, "\n\ncommon\\data\\handling.dat (in Benutzung)\n\n"},
        // An earlier switch left an original parked while the originals read live.
        {"stale original", SampleLayout::Original,
         "\n\ncommon\\data\\handling.dat (Original noch nicht zur\xFC"
         "ckgeholt)\n\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        Sample(c.layout, false);
        if (c.layout == SampleLayout::Modified)
            Fail(FileOperation::Rename, "common\\data\\handling.dat", FileFailure::InUse);
        else
            WriteGameFile("common\\data\\ORI!handling.dat", "parked original");
        Ui().events = {{EVENT_CONTROL, 2}, {EVENT_CONTROL, 1}};
        EXPECT_TRUE(Start());
        ASSERT_EQ(Ui().messages.size(), 3u);
        EXPECT_EQ(Message(1).title, "Tauschwerk: Fehler");
        EXPECT_EQ(Message(1).style, 16u);
        EXPECT_EQ(Message(1).text.rfind("Die Deinstallation wurde abgebrochen!", 0), 0u);
        EXPECT_NE(Message(1).text.find(c.line), std::string::npos);
        // Back in the loop: the next click shows the information text.
        EXPECT_EQ(Message(2).title, "Tauschwerk: Infos");
        EXPECT_EQ(Ui().captions[0], "Dateien sind z. Z. ORIGINALE");
        // Nothing was deleted: every modified copy is still there.
        for (const ManagedFile& row : ManagedFileTable) {
            bool locked = std::string(row.livePath) == "common\\data\\handling.dat" &&
                          c.layout == SampleLayout::Modified;
            EXPECT_EQ(ReadGameFile(locked ? row.livePath : Parked(row.livePath, PREFIX_MODIFIED)),
                      ModifiedContent(row.livePath));
        }
    }
}

TEST_F(InstallUninstall, AnIncompleteUninstallationIsReported) {
    Sample(SampleLayout::Original, false);
    WriteGameFile("Setup1.Vornak", "already here");
    Fail(FileOperation::Delete, "common\\data\\MOD!gta.dat", FileFailure::AccessDenied);
    Ui().events = {{EVENT_CONTROL, 2}};
    EXPECT_TRUE(Start());
    ASSERT_EQ(Ui().messages.size(), 2u);
    EXPECT_EQ(Message(1).title, "Tauschwerk: Fehler");
    EXPECT_EQ(Message(1).text.rfind("Die Deinstallation konnte nicht vollst\xE4ndig abgeschlossen "
                                    "werden!\n\nMOD!files.txt (Name bereits vergeben)\n"
                                    "common\\data\\MOD!gta.dat (Zugriff verweigert)\n\n",
                                    0),
              0u);
    EXPECT_EQ(ReadGameFile("MOD!files.txt"), ModifiedContent("files.txt"));
    EXPECT_EQ(ReadGameFile("Setup1.Vornak"), "already here");
}

} // namespace
