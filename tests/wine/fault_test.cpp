// Faults a player meets: a file the game holds open, a parked name already taken, a
// read-only file. Each is told, the rest of the work is done, and no content is lost.

#include "tests/wine/program_fixture.h"

namespace {

const char HANDLING[] = "common\\data\\handling.dat";
const char SWITCH_ADVICE[] =
    "Bitte schlie\xDF"
    "en Sie das Spiel und alle Programme, die diese Dateien benutzen, und schalten Sie dann "
    "einmal hin und zur\xFC"
    "ck.";

class FaultTest : public ProgramTest {
  protected:
    // A switch from the original set that the given obstacle blocks for one row.
    void SwitchExpectingFailure(const char* reason) {
        HWND window = OpenMainWindowHere(CAPTION_ORIGINAL);
        ASSERT_NE(window, nullptr);
        FileTree before = GameFiles();
        ASSERT_TRUE(ClickButton(ButtonById(window, STATUS_BUTTON)));
        // The caption behind the message is already the new, true one.
        ASSERT_TRUE(WaitForMessageBoxTitled(run, TITLE_ERROR) != nullptr);
        EXPECT_EQ(ButtonCaption(window, STATUS_BUTTON), CAPTION_MODIFIED);
        EXPECT_EQ(ErrorText(),
                  std::string("Einige Dateien konnten nicht umgeschaltet werden!\n\n") + HANDLING +
                      " (" + reason + ")\n\n" + SWITCH_ADVICE);
        FileTree after = GameFiles();
        EXPECT_EQ(SwitchInventoryFault(before, after), "");
        // Every other row switched.
        FileTree expected = SampleFiles(SampleLayout::Modified, false);
        for (const auto& [path, content] : after) {
            if (path.find("handling.dat") == std::string::npos) {
                EXPECT_EQ(content, expected[path]) << path;
            }
        }
        ASSERT_TRUE(RequestClose(window));
        ExpectEndsWithZero();
    }
    HWND OpenMainWindowHere(const char* caption) {
        if (!StartProgram(&run))
            return nullptr;
        HWND window = WaitForMainWindow(run);
        return window != nullptr && WaitForCaption(window, STATUS_BUTTON, caption) ? window
                                                                                   : nullptr;
    }
    void MakeGame(SampleLayout layout) {
        ASSERT_TRUE(MakeRunDirectory(&run, false));
        ASSERT_TRUE(MakeSampleGame(run.game, layout, false));
        ASSERT_TRUE(CopyProgram(run));
    }
};

TEST_F(FaultTest, AFileHeldOpenByTheGameIsNamedAndTheRestSwitches) {
    MakeGame(SampleLayout::Original);
    HANDLE held = CreateFileW(GamePath(run.game, HANDLING).c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SwitchExpectingFailure("in Benutzung");
    (void)CloseHandle(held);
    EXPECT_EQ(ReadFile(GamePath(run.game, HANDLING)), OriginalContent(HANDLING));
    EXPECT_EQ(ReadFile(GamePath(run.game, "common\\data\\MOD!handling.dat")),
              ModifiedContent(HANDLING));
}

TEST_F(FaultTest, AParkedNameAlreadyTakenIsNamed) {
    MakeGame(SampleLayout::Original);
    ASSERT_TRUE(WriteFile(GamePath(run.game, "common\\data\\ORI!handling.dat"), "stale"));
    SwitchExpectingFailure("Name bereits vergeben");
    EXPECT_EQ(ReadFile(GamePath(run.game, "common\\data\\ORI!handling.dat")), "stale");
}

TEST_F(FaultTest, AReadOnlyModifiedCopyIsNamedWhenUninstalling) {
    MakeGame(SampleLayout::Original);
    std::filesystem::path parked = GamePath(run.game, "common\\data\\MOD!handling.dat");
    ASSERT_TRUE(SetFileAttributesW(parked.c_str(), FILE_ATTRIBUTE_READONLY));
    HWND window = OpenMainWindowHere(CAPTION_ORIGINAL);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(ClickButton(ButtonById(window, UNINSTALL_BUTTON)));
    Expect("Tauschwerk: Deinstallation", nullptr, true, {IDOK, IDCANCEL}, Answer::Ok);
    EXPECT_EQ(
        ErrorText().rfind("Die Deinstallation konnte nicht vollst\xE4ndig abgeschlossen "
                          "werden!\n\ncommon\\data\\MOD!handling.dat (Zugriff verweigert)\n\n",
                          0),
        0u);
    ExpectEndsWithZero();
    EXPECT_EQ(ReadFile(parked), ModifiedContent(HANDLING));
    (void)SetFileAttributesW(parked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

} // namespace
