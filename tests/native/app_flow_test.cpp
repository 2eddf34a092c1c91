// The application flow against real files in a temporary directory, with the screen
// replaced by the scripted stand-in.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "app/program.h"
#include "fileset/file_primitives.h"
#include "fileset/file_table.h"
#include "tests/native/temp_game_dir.h"
#include "tests/native/ui_stand_in.h"
#include "tests/inventory.h"
#include "sample/sample_game.h"
#include "ui/message.h"
#include "ui/window.h"

namespace {

using Tree = std::map<std::string, std::string>;

// Fails renames and copies of one path, as if another program held it open.
std::string lockedPath;
FileFailure LockedFile(FileOperation operation, const char* source, const char*) {
    if (operation != FileOperation::Probe && lockedPath == source)
        return FileFailure::InUse;
    return FileFailure::None;
}

class AppFlow : public TempGameDir {
  protected:
    void SetUp() override {
        TempGameDir::SetUp();
        ResetUi();
    }
    void Sample(SampleLayout layout, bool withSetupFiles = false) {
        ASSERT_TRUE(MakeSampleGame(root, layout, withSetupFiles));
    }
    void Lock(const std::string& path) {
        lockedPath = path;
        SetFileFaultHook(LockedFile);
    }
    // Starts the program; true when it ended.
    bool Start() { return EndsProgram(MakeStartDecision); }
    void Click(int control) { Ui().events.push_back({EVENT_CONTROL, control}); }
    const ShownMessage& Message(size_t i) { return Ui().messages.at(i); }
};

const char GAME_DIRECTORY_ERROR[] =
    "Diese Anwendung muss sich im Spiel-Verzeichnis von GTA IV befinden!";

TEST_F(AppFlow, OutsideTheGameDirectoryShowsTheErrorAndTouchesNothing) {
    WriteGameFile("readme.txt", "not a game");
    MakeGameDirectory("ORI!files.txt.bak");
    Tree before = Snapshot();
    EXPECT_TRUE(Start());
    ASSERT_EQ(Ui().messages.size(), 1u);
    EXPECT_EQ(Message(0).title, "Tauschwerk: Fehler");
    EXPECT_EQ(Message(0).text, GAME_DIRECTORY_ERROR);
    EXPECT_EQ(Message(0).style, 16u);
    EXPECT_EQ(Ui().windowsCreated, 0);
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(AppFlow, StartDecisionRoutes) {
    struct Case {
        const char* name;
        std::vector<const char*> files;
        std::vector<const char*> directories;
        bool mainWindow;
        const char* caption;
        bool statusDisabled;
    } cases[] = {
        {"ORI! marker", {"ORI!files.txt"}, {}, true, "Dateien sind z. Z. MODIFIZIERT", false},
        {"MOD! marker", {"MOD!files.txt"}, {}, true, "Dateien sind z. Z. ORIGINALE", false},
        {"both markers",
         {"ORI!files.txt", "MOD!files.txt"},
         {},
         true,
         "!! KRITISCHER FEHLER !!",
         true},
        {"marker directory",
         {"ORI!files.txt"},
         {"MOD!files.txt"},
         true,
         "!! KRITISCHER FEHLER !!",
         true},
        {"files.txt directory", {}, {"files.txt"}, false, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        for (const char* file : c.files)
            WriteGameFile(file, "x");
        for (const char* directory : c.directories)
            MakeGameDirectory(directory);
        Ui().answers = {ANSWER_CANCEL};
        Tree before = Snapshot();
        EXPECT_TRUE(Start());
        EXPECT_EQ(Ui().windowsCreated, c.mainWindow ? 1 : 0);
        if (c.mainWindow) {
            EXPECT_TRUE(Ui().messages.empty());
            EXPECT_EQ(Ui().captions[0], c.caption);
            EXPECT_EQ(Ui().disabled[0], c.statusDisabled);
        } else {
            ASSERT_EQ(Ui().messages.size(), 1u);
            EXPECT_EQ(Message(0).title, "Tauschwerk: Installation");
        }
        EXPECT_FALSE(Ui().windowsOpen);
        EXPECT_EQ(Snapshot(), before);
    }
}

TEST_F(AppFlow, MainWindowLayoutAndNeitherMarkerReadsModified) {
    WriteGameFile("ORI!files.txt", "x");
    Ui().events = {{EVENT_SIZE, 0}, {EVENT_CONTROL, 7}};
    EXPECT_TRUE(Start());
    EXPECT_EQ(Ui().windowX, (SCREEN_WIDTH - 250) >> 1);
    EXPECT_EQ(Ui().windowY, SCREEN_HEIGHT >> 1);
    EXPECT_EQ(Ui().windowWidth, 250);
    EXPECT_EQ(Ui().windowHeight, 40);
    EXPECT_EQ(Ui().windowStyle, 0xC80000ul);
    EXPECT_EQ(Ui().windowTitle, "Tauschwerk");
    EXPECT_EQ(Ui().captions[1], "Infos");
    EXPECT_EQ(Ui().captions[2], "Deinstallation");

    // A failed switch can leave neither marker; the scan then reads Modified.
    ASSERT_TRUE(std::filesystem::remove(HostPath("ORI!files.txt")));
    ScanStatus();
    EXPECT_EQ(Ui().captions[0], "Dateien sind z. Z. MODIFIZIERT");
}

TEST_F(AppFlow, ClicksSwitchTheWholeSetBackAndForth) {
    Sample(SampleLayout::Original);
    Click(0);
    Click(0);
    EXPECT_TRUE(Start());
    EXPECT_EQ(Snapshot(), SampleFiles(SampleLayout::Original, false));
    EXPECT_EQ(Ui().captions[0], "Dateien sind z. Z. ORIGINALE");

    ResetUi();
    Click(0);
    EXPECT_TRUE(Start());
    EXPECT_EQ(Snapshot(), SampleFiles(SampleLayout::Modified, false));
    EXPECT_EQ(Ui().captions[0], "Dateien sind z. Z. MODIFIZIERT");
    EXPECT_TRUE(Ui().messages.empty());
}

TEST_F(AppFlow, ToggleWithAnUnknownCaptionDoesNothing) {
    Sample(SampleLayout::Original);
    Tree before = Snapshot();
    for (const char* caption : {"Dateien sind z. Z. ORIGINALE ", "dateien sind z. z. originale",
                                "!! KRITISCHER FEHLER !!", "Status wurde nicht gescannt!"}) {
        Ui().captions[0] = caption;
        ToggleFileSet();
        EXPECT_EQ(Ui().captions[0], caption);
    }
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(AppFlow, ASwitchWithALockedFileReportsItAndSwitchesTheRest) {
    Sample(SampleLayout::Original);
    Tree before = Snapshot();
    Lock("common\\data\\handling.dat");
    Click(0);
    EXPECT_TRUE(Start());
    EXPECT_EQ(SwitchInventoryFault(before, Snapshot()), "");
    ASSERT_EQ(Ui().messages.size(), 1u);
    EXPECT_EQ(Message(0).title, "Tauschwerk: Fehler");
    EXPECT_EQ(Message(0).style, 16u);
    EXPECT_EQ(Message(0).text,
              "Einige Dateien konnten nicht umgeschaltet werden!\n\n"
              "common\\data\\handling.dat (in Benutzung)\n\n"
              "Bitte schlie\xDF"
              "en Sie das Spiel und alle Programme, die diese Dateien benutzen, und schalten "
              "Sie dann einmal hin und zur\xFC"
              "ck.");
    // The caption behind the message was already true.
    EXPECT_EQ(Ui().captions[0], "Dateien sind z. Z. MODIFIZIERT");
    Tree expected = SampleFiles(SampleLayout::Modified, false);
    expected.erase("common/data/ORI!handling.dat");
    expected["common/data/handling.dat"] = OriginalContent("common\\data\\handling.dat");
    expected["common/data/MOD!handling.dat"] = ModifiedContent("common\\data\\handling.dat");
    EXPECT_EQ(Snapshot(), expected);
}

TEST_F(AppFlow, AFailureReportNamesTenFilesAndCountsTheRest) {
    Sample(SampleLayout::Modified);
    // Every parked original blocked by a stale modified copy: all rows fail.
    for (const ManagedFile& row : ManagedFileTable)
        WriteGameFile(Parked(row.livePath, PREFIX_MODIFIED), "stale");
    Ui().captions[0] = "Dateien sind z. Z. MODIFIZIERT";
    ToggleFileSet();
    ASSERT_EQ(Ui().messages.size(), 1u);
    const std::string& text = Message(0).text;
    // The first line, an empty line, ten files, the count of the rest, an empty line.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 10 + 1 + 2);
    EXPECT_NE(text.find("common\\data\\action_table.csv (Name bereits vergeben)\n"),
              std::string::npos);
    EXPECT_NE(text.find("\n... und 175 weitere Dateien\n\n"), std::string::npos);
}

TEST_F(AppFlow, InfosTextIsExact) {
    WriteGameFile("MOD!files.txt", "x");
    Click(1);
    EXPECT_TRUE(Start());
    ASSERT_EQ(Ui().messages.size(), 1u);
    EXPECT_EQ(Message(0).title, "Tauschwerk: Infos");
    EXPECT_EQ(Message(0).style, 64u);
    const std::string& text = Message(0).text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 14);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_NE(text.back(), '\n');
    EXPECT_EQ(text.rfind("Hallo lieber User!\n\nIch hoffe mein Programm ist Dir von Nutzen.\n"
                         "Jedoch gebe ich keine Garantie, dass es fehlerfrei l\xE4uft.\n",
                         0),
              0u);
    EXPECT_NE(text.find("\nEs ist jedoch KEIN PATCH, daher funktioniert er in jeder Version von "
                        "GTA IV!\n\nFalls es doch mal zu fehlern kommen sollte, mailt es mir:\n\n"
                        "    "),
              std::string::npos);
    EXPECT_NE(text.find("\n    Betreff: Tauschwerk\n\n"), std::string::npos);
}

} // namespace
