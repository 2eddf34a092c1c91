// The main window as the real window system shows it: place, style, buttons, keys, close;
// and a box beside another program's window.

#include "tests/wine/program_fixture.h"

namespace {

using WindowTest = ProgramTest;

const std::vector<WORD> TAB = {VK_TAB};
const std::vector<WORD> SHIFT_TAB = {VK_SHIFT, VK_TAB};

// An uninstallation not finished: the start says so, then the state button reads the conflict
// caption and is disabled.
bool LeaveUninstallationUnfinished(const ProgramRun& run) {
    std::error_code error;
    std::filesystem::rename(run.game / "files.txt", run.game / "DEI!files.txt", error);
    return !error;
}

// Waits until the button with this id has the keyboard focus in the program's thread.
bool FocusMovesTo(const ProgramRun& run, HWND window, int id) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return PollUntil([&] {
        return GetGUIThreadInfo(run.process.dwThreadId, &info) &&
               info.hwndFocus == GetDlgItem(window, id);
    });
}

TEST_F(WindowTest, WindowOrButtonsMisplacedMisstyledOrMislabelled) {
    HWND window = StartInSampleGame(&run, SampleLayout::Modified, expected::CAPTION_MODIFIED);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ClassName(window), "WindowClass_0");
    // 0x14C80000: the system adds WS_CLIPSIBLINGS to every top-level window.
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE),
              WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS);
    RECT outer = {}, client = {};
    ASSERT_TRUE(GetWindowRect(window, &outer) && GetClientRect(window, &client));
    EXPECT_EQ(client.right, 250);
    EXPECT_EQ(client.bottom, 40);
    // Centred for the client width only; the top edge at half the screen height.
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 250) >> 1);
    EXPECT_EQ(outer.top, GetSystemMetrics(SM_CYSCREEN) >> 1);

    constexpr LONG PUSH = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
    struct Button {
        int id;
        const char* caption;
        LONG style;
        RECT place; // in the client area
    };
    const Button buttons[] = {
        {STATUS_BUTTON, expected::CAPTION_MODIFIED, PUSH | BS_DEFPUSHBUTTON, {0, 0, 175, 40}},
        {INFOS_BUTTON, "Infos", PUSH, {175, 0, 250, 20}},
        {UNINSTALL_BUTTON, "Deinstallation", PUSH, {175, 20, 250, 40}},
    };
    // In child order, which is also the order of the focus walk.
    HWND child = GetWindow(window, GW_CHILD);
    for (const Button& button : buttons) {
        SCOPED_TRACE(button.caption);
        ASSERT_NE(child, nullptr);
        RECT place = {};
        ASSERT_TRUE(GetWindowRect(child, &place));
        (void)MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        EXPECT_EQ(GetDlgCtrlID(child), button.id);
        EXPECT_EQ(ClassName(child), "Button");
        EXPECT_EQ(WindowText(child), button.caption);
        EXPECT_EQ(GetWindowLongA(child, GWL_STYLE), button.style);
        EXPECT_TRUE(EqualRect(&place, &button.place));
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);
}

// Presses each step's keys, and waits until the focus is on its button.
struct Step {
    std::vector<WORD> keys;
    int focused;
};
void Walk(const ProgramRun& run, HWND window, const std::vector<Step>& steps) {
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(SendKeys(window, steps[i].keys));
        ASSERT_TRUE(FocusMovesTo(run, window, steps[i].focused));
    }
}

TEST_F(WindowTest, FocusWalkWrongKeysMisbehaveInfosBlockedOrAltF4NotClosing) {
    HWND window = StartInSampleGame(&run, SampleLayout::Original, expected::CAPTION_ORIGINAL);
    ASSERT_NE(window, nullptr);
    // Nothing focused yet: Shift+Tab takes the last button. Both directions wrap. Enter and
    // Escape act on nothing: the focus still moves in the main window behind each.
    const std::vector<Step> walk = {{SHIFT_TAB, UNINSTALL_BUTTON},   {TAB, STATUS_BUTTON},
                                    {{VK_RETURN}, STATUS_BUTTON},    {TAB, INFOS_BUTTON},
                                    {SHIFT_TAB, STATUS_BUTTON},      {SHIFT_TAB, UNINSTALL_BUTTON},
                                    {{VK_ESCAPE}, UNINSTALL_BUTTON}, {TAB, STATUS_BUTTON}};
    ASSERT_NO_FATAL_FAILURE(Walk(run, window, walk));
    // The space bar presses the focused button; Enter and Escape did nothing.
    EXPECT_EQ(FindMessageBox(run), nullptr);
    EXPECT_EQ(GameFiles(run), SampleFiles(SampleLayout::Original, NO_SETUP_FILES));
    ASSERT_TRUE(SendKeys(window, {VK_SPACE}));
    EXPECT_TRUE(StateReads(window, expected::CAPTION_MODIFIED));

    // The disabled state button is passed over both ways.
    ASSERT_NE(
        StartInSampleGame(&run, SampleLayout::Original, nullptr, LeaveUninstallationUnfinished),
        nullptr);
    AnswerBox(run, expected::TITLE_ERROR, expected::TEXT_UNINSTALL_UNFINISHED, {IDOK}, IDOK);
    ASSERT_TRUE(PollUntil([&] { return (window = FindMainWindow(run)) != nullptr; }));
    ASSERT_TRUE(StateReads(window, expected::CAPTION_CONFLICT));
    const std::vector<Step> pastDisabled = {
        {TAB, INFOS_BUTTON}, {SHIFT_TAB, UNINSTALL_BUTTON}, {TAB, INFOS_BUTTON}};
    ASSERT_NO_FATAL_FAILURE(Walk(run, window, pastDisabled));
    // Infos works beside the disabled state button. Pressed by keys: a disabled button takes
    // none, while a posted click would reach even a disabled button.
    ASSERT_TRUE(SendKeys(window, {VK_SPACE}));
    AnswerBox(run, expected::TITLE_INFOS, expected::TEXT_INFOS, {IDOK}, IDOK);
    // Alt+F4 ends the program at once, touching no file.
    const FileTree before = SnapshotTree(run.root);
    ASSERT_TRUE(SendKeys(window, {VK_MENU, VK_F4}));
    EXPECT_EQ(ExitCode(&run), 0u);
    EXPECT_EQ(SnapshotTree(run.root), before);
}

// Another program's window in front: a second copy's, in a game directory of its own.
TEST_F(WindowTest, ABoxOwnedByAnotherProgramsWindowInFrontOrNotKeepingTheMainWindowFromInput) {
    HWND window = StartInSampleGame(&run, SampleLayout::Original, expected::CAPTION_ORIGINAL);
    HWND other = StartInSampleGame(&second, SampleLayout::Original, expected::CAPTION_ORIGINAL);
    ASSERT_TRUE(window != nullptr && other != nullptr && BringToFront(other));
    ASSERT_TRUE(ClickButton(GetDlgItem(window, INFOS_BUTTON)));
    ASSERT_TRUE(PollUntil([&] { return FindMessageBox(run) != nullptr; }));
    // Without an owner the box still keeps the main window from input, so that no command
    // starts while it is open.
    EXPECT_FALSE(IsWindowEnabled(window));
    EXPECT_TRUE(IsWindowEnabled(other));
    ASSERT_TRUE(TerminateProcess(run.process.hProcess, 1));
    EXPECT_EQ(ExitCode(&run), 1u);
    EXPECT_TRUE(IsWindowEnabled(other));
}

} // namespace
