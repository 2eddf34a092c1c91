#include "tests/wine/program_fixture.h"

#include <algorithm>

namespace {

constexpr int CLIENT_WIDTH = 250;
constexpr int CLIENT_HEIGHT = 40;
constexpr LONG MAIN_STYLE = WS_VISIBLE | WS_CAPTION | WS_SYSMENU; // 0x10C80000
// The system adds this to every top-level window, whatever style it was created with.
constexpr LONG SYSTEM_ADDED_STYLE = WS_CLIPSIBLINGS;
constexpr LONG BUTTON_STYLE = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;

using MainWindowTest = ProgramTest;

RECT Relative(const RECT& inner, const RECT& outer) {
    return {inner.left - outer.left, inner.top - outer.top, inner.right - outer.left,
            inner.bottom - outer.top};
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(MainWindowTest, GeometryStyleAndButtons) {
    HWND window = OpenMainWindow(SampleLayout::Modified, CAPTION_MODIFIED);
    ASSERT_NE(window, nullptr);
    MainWindowState state = ReadMainWindow(window);

    EXPECT_EQ(ClassName(window), "WindowClass_0");
    EXPECT_EQ(state.style, MAIN_STYLE | SYSTEM_ADDED_STYLE);
    EXPECT_EQ(state.client.right - state.client.left, CLIENT_WIDTH);
    EXPECT_EQ(state.client.bottom - state.client.top, CLIENT_HEIGHT);
    // Centred for the client width only; the top edge at half the screen height.
    EXPECT_EQ(state.window.left, (GetSystemMetrics(SM_CXSCREEN) - CLIENT_WIDTH) >> 1);
    EXPECT_EQ(state.window.top, GetSystemMetrics(SM_CYSCREEN) >> 1);

    struct Expected {
        int id;
        const char* caption;
        LONG style;
        RECT place; // in the client area
    };
    const Expected expected[] = {
        {STATUS_BUTTON, CAPTION_MODIFIED, BUTTON_STYLE | BS_DEFPUSHBUTTON, {0, 0, 175, 40}},
        {INFOS_BUTTON, "Infos", BUTTON_STYLE, {175, 0, 250, 20}},
        {UNINSTALL_BUTTON, "Deinstallation", BUTTON_STYLE, {175, 20, 250, 40}},
    };
    ASSERT_EQ(state.buttons.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const ButtonState& button = state.buttons[i];
        SCOPED_TRACE(expected[i].caption);
        EXPECT_EQ(button.id, expected[i].id);
        EXPECT_EQ(ClassName(button.handle), "Button");
        EXPECT_EQ(button.caption, expected[i].caption);
        EXPECT_EQ(button.style, expected[i].style);
        EXPECT_TRUE(button.enabled);
        RECT place;
        ASSERT_TRUE(GetWindowRect(button.handle, &place));
        EXPECT_TRUE(SameRect(Relative(place, state.client), expected[i].place));
    }
}

// What the first scan shows for each marker layout. Both markers disable the state button
// only; a directory counts as a marker.
TEST_F(MainWindowTest, FirstScanShowsMarkerState) {
    struct Case {
        const char* name;
        SampleLayout layout;
        const char* extraDirectory;
        const char* caption;
        bool statusEnabled;
    };
    const Case cases[] = {
        {"modified", SampleLayout::Modified, nullptr, CAPTION_MODIFIED, true},
        {"original", SampleLayout::Original, nullptr, CAPTION_ORIGINAL, true},
        {"both markers", SampleLayout::Modified, "MOD!files.txt", CAPTION_CONFLICT, false},
        {"marker directory", SampleLayout::Fresh, "MOD!files.txt", CAPTION_ORIGINAL, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(MakeRunDirectory(&run, false));
        ASSERT_TRUE(MakeSampleGame(run.game, c.layout, false));
        if (c.extraDirectory != nullptr) {
            std::error_code error;
            ASSERT_TRUE(std::filesystem::create_directory(run.game / c.extraDirectory, error));
        }
        ASSERT_TRUE(CopyProgram(run));
        ASSERT_TRUE(StartProgram(&run));
        HWND window = WaitForMainWindow(run);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(WaitForCaption(window, STATUS_BUTTON, c.caption))
            << ButtonCaption(window, STATUS_BUTTON);
        EXPECT_TRUE(WaitForEnabled(window, STATUS_BUTTON, c.statusEnabled));
        EXPECT_TRUE(IsWindowEnabled(ButtonById(window, INFOS_BUTTON)));
        EXPECT_TRUE(IsWindowEnabled(ButtonById(window, UNINSTALL_BUTTON)));
        EndRun(&run);
    }
}

// Infos works even with the state button disabled by a conflict, and returns to the window.
TEST_F(MainWindowTest, InfosShowsTheInformationText) {
    const std::string text = "Hallo lieber User!\n"
                             "\n"
                             "Ich hoffe mein Programm ist Dir von Nutzen.\n"
                             "Jedoch gebe ich keine Garantie, dass es fehlerfrei l\xE4uft.\n"
                             "Aber bei mir funktionierts einwandfrei.\n"
                             "\n"
                             "Der Dateitausch folgt einer Idee der Tauschwerk-Entwickler.\n"
                             "Es ist jedoch KEIN PATCH, daher funktioniert er in jeder Version "
                             "von GTA IV!\n"
                             "\n"
                             "Falls es doch mal zu fehlern kommen sollte, mailt es mir:\n"
                             "\n"
                             "    kontakt@tauschwerk.example\n"
                             "    Betreff: Tauschwerk\n"
                             "\n"
                             "\xA9 2026 Tauschwerk-Entwickler. Alle Rechte vorbehalten.";
    ASSERT_TRUE(MakeRunDirectory(&run, false));
    ASSERT_TRUE(MakeSampleGame(run.game, SampleLayout::Original, false));
    ASSERT_TRUE(WriteFile(run.game / "ORI!files.txt", "stale marker\n"));
    ASSERT_TRUE(CopyProgram(run));
    FileTree before = SnapshotTree(run.root);
    ASSERT_TRUE(StartProgram(&run));
    HWND window = WaitForMainWindow(run);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForCaption(window, STATUS_BUTTON, CAPTION_CONFLICT));

    ASSERT_TRUE(ClickButton(ButtonById(window, INFOS_BUTTON)));
    HWND box = WaitForMessageBox(run);
    ASSERT_NE(box, nullptr);
    MessageBoxContent content = ReadMessageBox(box);
    EXPECT_EQ(content.title, "Tauschwerk: Infos");
    EXPECT_EQ(content.text, text);
    EXPECT_EQ(std::count(content.text.begin(), content.text.end(), '\n'), 14);
    EXPECT_EQ(content.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(content.icon, true);

    ASSERT_TRUE(PressBoxButton(box, IDOK));
    ASSERT_TRUE(WaitForNoMessageBox(run));
    EXPECT_TRUE(IsRunning(run));
    ASSERT_TRUE(RequestClose(window));
    ExpectEndsWithZero();
    EXPECT_EQ(SnapshotTree(run.root), before);
}

// The system menu's Close (as the close box sends it) and Alt+F4 end the program at once,
// touching no file.
TEST_F(MainWindowTest, CloseRequestsEndWithExitCodeZero) {
    for (bool byKeys : {false, true}) {
        SCOPED_TRACE(byKeys ? "Alt+F4" : "SC_CLOSE");
        HWND window = OpenMainWindow(SampleLayout::Original, CAPTION_ORIGINAL);
        ASSERT_NE(window, nullptr);
        FileTree before = SnapshotTree(run.root);
        ASSERT_TRUE(byKeys ? SendKey(window, Key::AltF4) : RequestClose(window));
        ExpectEndsWithZero();
        EXPECT_EQ(SnapshotTree(run.root), before);
        EndRun(&run);
    }
}

} // namespace
