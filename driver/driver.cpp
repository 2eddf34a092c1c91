#include "driver/driver.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <iterator>
#include <system_error>

namespace {

constexpr DWORD POLL_INTERVAL_MS = 10;
constexpr DWORD KILL_TIMEOUT_MS = 5000;
constexpr int TEXT_SIZE = 8192;
constexpr int MESSAGE_TEXT_ID = 0xFFFF;
constexpr int MESSAGE_ICON_ID = 0x0440;
constexpr char MESSAGE_BOX_CLASS[] = "#32770";
constexpr char MAIN_WINDOW_TITLE[] = "Tauschwerk";
constexpr wchar_t PROGRAM_FILE[] = L"Tauschwerk.exe";
constexpr wchar_t CYRILLIC_COMPONENT[] = L"\u0418\u0433\u0440\u0430 GTA IV";

int runCounter = 0;

// Polls until check answers true or the time is up.
template <typename Check> bool PollUntil(DWORD timeoutMs, Check check) {
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (check())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(POLL_INTERVAL_MS);
    }
}

std::filesystem::path TestProgramDirectory() {
    wchar_t path[MAX_PATH * 4];
    DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    return std::filesystem::path(std::wstring(path, length)).parent_path();
}

void KillProgram(Run* run) {
    if (run->process.hProcess == nullptr)
        return;
    if (WaitForSingleObject(run->process.hProcess, 0) == WAIT_TIMEOUT) {
        // Already ending is fine; the wait below covers both.
        (void)TerminateProcess(run->process.hProcess, 1);
        (void)WaitForSingleObject(run->process.hProcess, KILL_TIMEOUT_MS);
    }
    (void)CloseHandle(run->process.hThread);
    (void)CloseHandle(run->process.hProcess);
    run->process = {};
}

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectProgramWindow(HWND window, LPARAM data) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    (void)GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window))
        search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

std::vector<HWND> Children(HWND window) {
    std::vector<HWND> children;
    (void)EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND FindMainWindow(const Run& run) {
    for (HWND window : ProgramWindows(run))
        if (ClassName(window) != MESSAGE_BOX_CLASS && WindowText(window) == MAIN_WINDOW_TITLE)
            return window;
    return nullptr;
}

// A box without an icon may keep its icon control, empty, where its text now lies.
bool ShowsIcon(HWND box) {
    HWND control = GetDlgItem(box, MESSAGE_ICON_ID);
    DWORD_PTR icon = 0;
    return control != nullptr && IsWindowVisible(control) &&
           SendMessageTimeoutA(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, WAIT_TIMEOUT_MS,
                               &icon) &&
           icon != 0;
}

bool MakeForeground(HWND window) {
    return PollUntil(WAIT_TIMEOUT_MS, [&] {
        (void)SetForegroundWindow(window); // checked through GetForegroundWindow
        return GetForegroundWindow() == window;
    });
}

INPUT KeyInput(WORD key, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    return input;
}

// Presses the keys in order and releases them in reverse.
bool PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys)
        inputs.push_back(KeyInput(key, true));
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
        inputs.push_back(KeyInput(*key, false));
    UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    return sent == inputs.size();
}

} // namespace

bool MakeRunDirectory(Run* run, bool nonAnsi) {
    *run = {};
    wchar_t temp[MAX_PATH + 1];
    DWORD length = GetTempPathW(static_cast<DWORD>(std::size(temp)), temp);
    if (length == 0 || length > MAX_PATH)
        return false;
    // Wine reuses small process ids: the tick count and a counter keep names fresh.
    std::wstring name = L"tauschwerk-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++runCounter);
    run->root = std::filesystem::path(std::wstring(temp, length)) / name;
    run->game = run->root / (nonAnsi ? CYRILLIC_COMPONENT : L"game");
    std::error_code error;
    std::filesystem::create_directories(run->game, error);
    return !error;
}

bool CopyProgram(const Run& run) {
    std::error_code error;
    std::filesystem::copy_file(TestProgramDirectory() / PROGRAM_FILE, run.game / PROGRAM_FILE,
                               std::filesystem::copy_options::overwrite_existing, error);
    return !error;
}

bool StartProgram(Run* run, const std::wstring& arguments) {
    std::wstring program = (run->game / PROGRAM_FILE).wstring();
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    std::wstring workingDirectory = run->root.wstring();
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       workingDirectory.c_str(), &startup, &run->process))
        return true;
    fprintf(stderr, "CreateProcessW failed: error %lu\n", GetLastError());
    return false;
}

bool StartInSampleGame(Run* run, SampleLayout layout, bool nonAnsi) {
    return MakeRunDirectory(run, nonAnsi) && MakeSampleGame(run->game, layout, false) &&
           CopyProgram(*run) && StartProgram(run);
}

void EndRun(Run* run) {
    KillProgram(run);
    if (run->root.empty())
        return;
    std::error_code error;
    std::filesystem::remove_all(run->root, error); // a leftover in %TEMP% harms no later run
    run->root.clear();
}

bool WaitForExit(Run* run, DWORD* exitCode, DWORD timeoutMs) {
    if (run->process.hProcess == nullptr ||
        WaitForSingleObject(run->process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        KillProgram(run);
        return false;
    }
    bool read = GetExitCodeProcess(run->process.hProcess, exitCode) != FALSE;
    KillProgram(run);
    return read;
}

bool IsRunning(const Run& run) {
    return run.process.hProcess != nullptr &&
           WaitForSingleObject(run.process.hProcess, 0) == WAIT_TIMEOUT;
}

std::vector<HWND> ProgramWindows(const Run& run) {
    WindowSearch search = {run.process.dwProcessId, {}};
    (void)EnumWindows(CollectProgramWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindMessageBoxNow(const Run& run) {
    for (HWND window : ProgramWindows(run))
        if (ClassName(window) == MESSAGE_BOX_CLASS)
            return window;
    return nullptr;
}

HWND WaitForMessageBox(const Run& run, DWORD timeoutMs) {
    HWND box = nullptr;
    (void)PollUntil(timeoutMs, [&] { return (box = FindMessageBoxNow(run)) != nullptr; });
    return box;
}

HWND WaitForMessageBoxTitled(const Run& run, const std::string& title, DWORD timeoutMs) {
    HWND box = nullptr;
    (void)PollUntil(timeoutMs, [&] {
        box = FindMessageBoxNow(run);
        return box != nullptr && WindowText(box) == title;
    });
    return box != nullptr && WindowText(box) == title ? box : nullptr;
}

HWND WaitForMainWindow(const Run& run, DWORD timeoutMs) {
    HWND window = nullptr;
    (void)PollUntil(timeoutMs, [&] { return (window = FindMainWindow(run)) != nullptr; });
    return window;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
    return PollUntil(timeoutMs, [&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

bool WaitForNoMessageBox(const Run& run, DWORD timeoutMs) {
    return PollUntil(timeoutMs, [&] { return FindMessageBoxNow(run) == nullptr; });
}

std::string WindowText(HWND window) {
    char text[TEXT_SIZE];
    int length = GetWindowTextA(window, text, TEXT_SIZE);
    return std::string(text, length > 0 ? length : 0);
}

std::string ClassName(HWND window) {
    char name[256];
    int length = GetClassNameA(window, name, static_cast<int>(sizeof(name)));
    return std::string(name, length > 0 ? length : 0);
}

MessageBoxContent ReadMessageBox(HWND box) {
    MessageBoxContent content;
    content.title = WindowText(box);
    char text[TEXT_SIZE];
    UINT length = GetDlgItemTextA(box, MESSAGE_TEXT_ID, text, TEXT_SIZE);
    content.text.assign(text, length);
    for (HWND child : Children(box))
        if (ClassName(child) == "Button" && IsWindowVisible(child))
            content.buttons.push_back(GetDlgCtrlID(child));
    std::sort(content.buttons.begin(), content.buttons.end());
    content.icon = ShowsIcon(box);
    return content;
}

bool PressBoxButton(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    if (button == nullptr)
        return false;
    return PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button)) != FALSE;
}

MainWindowState ReadMainWindow(HWND window) {
    MainWindowState state = {};
    state.style = GetWindowLongA(window, GWL_STYLE);
    (void)GetWindowRect(window, &state.window);
    RECT client = {};
    (void)GetClientRect(window, &client);
    POINT origin = {0, 0};
    (void)ClientToScreen(window, &origin);
    state.client = {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    for (HWND child : Children(window))
        state.buttons.push_back({child, GetDlgCtrlID(child), WindowText(child),
                                 GetWindowLongA(child, GWL_STYLE), IsWindowEnabled(child) != 0});
    return state;
}

HWND ButtonById(HWND window, int id) {
    return GetDlgItem(window, id);
}

std::string ButtonCaption(HWND window, int id) {
    return WindowText(ButtonById(window, id));
}

bool WaitForCaption(HWND window, int id, const std::string& text, DWORD timeoutMs) {
    return PollUntil(timeoutMs, [&] { return ButtonCaption(window, id) == text; });
}

bool WaitForEnabled(HWND window, int id, bool enabled, DWORD timeoutMs) {
    return PollUntil(timeoutMs,
                     [&] { return (IsWindowEnabled(ButtonById(window, id)) != 0) == enabled; });
}

HWND FocusedWindow(const Run& run) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(run.process.dwThreadId, &info))
        return nullptr;
    return info.hwndFocus;
}

bool WaitForFocus(const Run& run, HWND expected, DWORD timeoutMs) {
    return PollUntil(timeoutMs, [&] { return FocusedWindow(run) == expected; });
}

bool ClickButton(HWND button) {
    return PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
}

bool RequestClose(HWND window) {
    return PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0) != FALSE;
}

bool SendKey(HWND window, Key key) {
    if (!MakeForeground(window))
        return false;
    switch (key) {
    case Key::Tab:
        return PressKeys({VK_TAB});
    case Key::ShiftTab:
        return PressKeys({VK_SHIFT, VK_TAB});
    case Key::Enter:
        return PressKeys({VK_RETURN});
    case Key::Escape:
        return PressKeys({VK_ESCAPE});
    case Key::Space:
        return PressKeys({VK_SPACE});
    case Key::AltF4:
        return PressKeys({VK_MENU, VK_F4});
    }
    return false;
}
