// The whole life of a game directory through the real program's boxes and buttons.

#include "tests/wine/program_fixture.h"

namespace {

class LifeCycle : public ProgramTest {
  protected:
    void Prepare(SampleLayout layout, bool withSetupFiles, bool nonAnsi = false) {
        ASSERT_TRUE(MakeRunDirectory(&run, nonAnsi));
        ASSERT_TRUE(MakeSampleGame(run.game, layout, withSetupFiles));
        ASSERT_TRUE(CopyProgram(run));
        ASSERT_TRUE(StartProgram(&run));
    }
    HWND MainWindowReading(const char* caption) {
        HWND window = WaitForMainWindow(run);
        EXPECT_NE(window, nullptr);
        EXPECT_TRUE(window != nullptr && WaitForCaption(window, STATUS_BUTTON, caption));
        return window;
    }
    void Switch(HWND window, const char* to) {
        FileTree before = GameFiles();
        ASSERT_TRUE(ClickButton(ButtonById(window, STATUS_BUTTON)));
        ASSERT_TRUE(WaitForCaption(window, STATUS_BUTTON, to));
        EXPECT_EQ(SwitchInventoryFault(before, GameFiles()), "");
    }
};

TEST_F(LifeCycle, InstallSwitchSwitchUninstallAndTheQuestionAgain) {
    Prepare(SampleLayout::Fresh, true);
    const FileTree fresh = GameFiles();
    Expect("Tauschwerk: Installation", TEXT_CONSENT, true, {IDOK, IDCANCEL},
           Answer::Ok);
    Expect("Tauschwerk: Info", TEXT_INSTALLED, true, {IDOK}, Answer::Ok);
    HWND window = MainWindowReading(CAPTION_MODIFIED);
    ASSERT_NE(window, nullptr);
    FileTree installed = InstalledFiles();
    EXPECT_EQ(GameFiles(), installed);
    EXPECT_EQ(BackupInventoryFault(fresh, installed), "");

    Switch(window, CAPTION_ORIGINAL);
    FileTree original = fresh;
    original.erase("Setup1.Vornak");
    original.erase("Setup2.Vornak");
    for (const auto& [path, content] : fresh) {
        std::string::size_type slash = path.rfind('/') + 1;
        if (path != "Setup1.Vornak" && path != "Setup2.Vornak")
            original[path.substr(0, slash) + "MOD!" + path.substr(slash)] = content;
    }
    original["MOD!files.txt"] = SetupContent(1);
    original["pc/data/MOD!filelist.pak"] = SetupContent(2);
    EXPECT_EQ(GameFiles(), original);

    Switch(window, CAPTION_MODIFIED);
    EXPECT_EQ(GameFiles(), installed);

    ASSERT_TRUE(ClickButton(ButtonById(window, 2)));
    Expect("Tauschwerk: Deinstallation", TEXT_UNINSTALL_QUESTION, true,
           {IDOK, IDCANCEL}, Answer::Ok);
    Expect("Tauschwerk: Deinstallation", "Deinstallation wurde erfolgreich abgeschlossen!",
           true, {IDOK}, Answer::Ok);
    ExpectEndsWithZero();
    // The directory is exactly as it was before the installation.
    EXPECT_EQ(GameFiles(), fresh);

    ASSERT_TRUE(StartProgram(&run));
    Expect("Tauschwerk: Installation", TEXT_CONSENT, true, {IDOK, IDCANCEL},
           Answer::Cancel);
    ExpectEndsWithZero();
    EXPECT_EQ(GameFiles(), fresh);
}

TEST_F(LifeCycle, DecliningEitherQuestionChangesNothing) {
    for (Answer answer : {Answer::Cancel, Answer::Escape, Answer::CloseBox}) {
        SCOPED_TRACE(static_cast<int>(answer));
        TearDown();
        run = {};
        Prepare(SampleLayout::Fresh, true);
        FileTree before = GameFiles();
        Expect("Tauschwerk: Installation", nullptr, true, {IDOK, IDCANCEL}, answer);
        ExpectEndsWithZero();
        EXPECT_EQ(GameFiles(), before);

        TearDown();
        run = {};
        Prepare(SampleLayout::Original, false);
        before = GameFiles();
        HWND window = MainWindowReading(CAPTION_ORIGINAL);
        ASSERT_TRUE(ClickButton(ButtonById(window, 2)));
        Expect("Tauschwerk: Deinstallation", nullptr, true, {IDOK, IDCANCEL}, answer);
        Expect("Tauschwerk", "Gute Entscheidung  ;-)", false, {IDOK}, Answer::Ok);
        EXPECT_TRUE(IsRunning(run));
        EXPECT_EQ(GameFiles(), before);
        ASSERT_TRUE(RequestClose(window));
        ExpectEndsWithZero();
    }
}

TEST_F(LifeCycle, RefusedInstallationsChangeNothing) {
    struct Case {
        const char* name;
        const char* removed;
        const char* extra;
        const char* firstLine;
    } cases[] = {
        {"setup file missing", "Setup2.Vornak", nullptr,
         "Es fehlen einige Dateien zur Installation!\n"},
        {"TEST.WRITE present", nullptr, "TEST.WRITE",
         "Es ist ein Fehler w\xE4hrend eines Schreibvorganges aufgetreten!\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        run = {};
        ASSERT_TRUE(MakeRunDirectory(&run, false));
        ASSERT_TRUE(MakeSampleGame(run.game, SampleLayout::Fresh, true));
        if (c.removed != nullptr) {
            ASSERT_TRUE(std::filesystem::remove(run.game / c.removed));
        }
        if (c.extra != nullptr) {
            ASSERT_TRUE(WriteFile(run.game / c.extra, "left over"));
        }
        ASSERT_TRUE(CopyProgram(run));
        FileTree before = GameFiles();
        ASSERT_TRUE(StartProgram(&run));
        Expect("Tauschwerk: Installation", TEXT_CONSENT, true, {IDOK, IDCANCEL},
               Answer::Ok);
        EXPECT_EQ(ErrorText().rfind(c.firstLine, 0), 0u);
        ExpectEndsWithZero();
        EXPECT_EQ(GameFiles(), before);
    }
}

TEST_F(LifeCycle, AnInstallationOverAnOldParkedFileListIsReported) {
    ASSERT_TRUE(MakeRunDirectory(&run, false));
    ASSERT_TRUE(MakeSampleGame(run.game, SampleLayout::Fresh, true));
    ASSERT_TRUE(WriteFile(GamePath(run.game, "pc\\data\\ORI!filelist.pak"), "earlier"));
    ASSERT_TRUE(CopyProgram(run));
    ASSERT_TRUE(StartProgram(&run));
    Expect("Tauschwerk: Installation", TEXT_CONSENT, true, {IDOK, IDCANCEL},
           Answer::Ok);
    EXPECT_EQ(
        ErrorText().rfind("Die Installation konnte nicht vollst\xE4ndig abgeschlossen werden!\n\n"
                          "pc\\data\\filelist.pak (Name bereits vergeben)\n"
                          "Setup2.Vornak (Name bereits vergeben)\n\n",
                          0),
        0u);
    // ORI!files.txt exists: the directory counts as installed and the window opens.
    HWND window = MainWindowReading(CAPTION_MODIFIED);
    ASSERT_TRUE(RequestClose(window));
    ExpectEndsWithZero();
    EXPECT_EQ(ReadFile(GamePath(run.game, "pc\\data\\ORI!filelist.pak")), "earlier");
}

TEST_F(LifeCycle, UninstallingWhileTheGameHoldsAFileStopsAndDeletesNothing) {
    Prepare(SampleLayout::Modified, false);
    HWND window = MainWindowReading(CAPTION_MODIFIED);
    FileTree before = GameFiles();
    HANDLE held = CreateFileW(GamePath(run.game, "common\\data\\handling.dat").c_str(),
                              GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(ClickButton(ButtonById(window, 2)));
    Expect("Tauschwerk: Deinstallation", TEXT_UNINSTALL_QUESTION, true,
           {IDOK, IDCANCEL}, Answer::Ok);
    EXPECT_EQ(ErrorText().rfind("Die Deinstallation wurde abgebrochen!\n\n"
                                "common\\data\\handling.dat (in Benutzung)\n\n",
                                0),
              0u);
    (void)CloseHandle(held);
    // Still running, rescanned, and every content still there.
    EXPECT_TRUE(WaitForCaption(window, 0, CAPTION_ORIGINAL));
    EXPECT_EQ(SwitchInventoryFault(before, GameFiles()), "");
    ASSERT_TRUE(RequestClose(window));
    ExpectEndsWithZero();
}

TEST_F(LifeCycle, AGameDirectoryBelowANonAnsiPathWorks) {
    Prepare(SampleLayout::Fresh, true, true);
    Expect("Tauschwerk: Installation", TEXT_CONSENT, true, {IDOK, IDCANCEL},
           Answer::Ok);
    Expect("Tauschwerk: Info", TEXT_INSTALLED, true, {IDOK}, Answer::Ok);
    HWND window = MainWindowReading(CAPTION_MODIFIED);
    EXPECT_EQ(GameFiles(), InstalledFiles());
    Switch(window, CAPTION_ORIGINAL);
    ASSERT_TRUE(RequestClose(window));
    ExpectEndsWithZero();
}

} // namespace
