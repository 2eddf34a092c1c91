#include "driver/driver.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <system_error>

#include "app/main_window_controls.h"

namespace {

constexpr DWORD KILL_TIMEOUT_MS = 5000;
constexpr int TEXT_SIZE = 8192;
constexpr int MESSAGE_TEXT_ID = 0xFFFF;
constexpr int MESSAGE_ICON_ID = 0x0440;
constexpr char MESSAGE_BOX_CLASS[] = "#32770";
constexpr char MAIN_WINDOW_TITLE[] = "Tauschwerk";
constexpr wchar_t PROGRAM_FILE[] = L"Tauschwerk.exe";
constexpr wchar_t CYRILLIC_COMPONENT[] = L"\u0418\u0433\u0440\u0430 GTA IV";

int runCounter = 0;

std::filesystem::path TestProgramDirectory() {
    wchar_t path[MAX_PATH * 4];
    DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    return std::filesystem::path(std::wstring(path, length)).parent_path();
}

void KillProgram(ProgramRun* run) {
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

// The program's visible top-level windows.
std::vector<HWND> ProgramWindows(const ProgramRun& run) {
    WindowSearch search = {run.process.dwProcessId, {}};
    (void)EnumWindows(CollectProgramWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
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

} // namespace

bool MakeRunDirectory(ProgramRun* run, bool nonAnsi) {
    EndRun(run);
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

bool CopyProgram(const ProgramRun& run) {
    std::error_code error;
    std::filesystem::copy_file(TestProgramDirectory() / PROGRAM_FILE, run.game / PROGRAM_FILE,
                               std::filesystem::copy_options::overwrite_existing, error);
    return !error;
}

bool StartProgram(ProgramRun* run) {
    std::wstring program = (run->game / PROGRAM_FILE).wstring();
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    std::wstring workingDirectory = run->root.wstring();
    // Wine now and then refuses to start a process with ERROR_INTERNAL_ERROR (seen once in
    // dozens of runs, right after another test's processes ended); the next attempt starts it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           workingDirectory.c_str(), &startup, &run->process))
            return true;
        fprintf(stderr, "CreateProcessW failed: error %lu\n", GetLastError());
        Sleep(500);
    }
    return false;
}

HWND StartInSampleGame(ProgramRun* run, SampleLayout layout, const char* caption,
                       const Prepare& prepare, bool withSetupFiles, bool nonAnsi) {
    if (!MakeRunDirectory(run, nonAnsi) || !MakeSampleGame(run->game, layout, withSetupFiles) ||
        !CopyProgram(*run) || (prepare && !prepare(*run)) || !StartProgram(run))
        return nullptr;
    HWND window = nullptr;
    if (PollUntil([&] {
            window = caption != nullptr ? FindMainWindow(*run) : FindMessageBox(*run);
            return window != nullptr &&
                   (caption == nullptr || ButtonCaption(window, STATUS_BUTTON) == caption);
        }))
        return window;
    fprintf(stderr, "no %s%s in time\n", caption ? "main window reading " : "message box",
            caption ? caption : "");
    return nullptr;
}

void EndRun(ProgramRun* run) {
    KillProgram(run);
    if (!run->root.empty()) {
        std::error_code error;
        std::filesystem::remove_all(run->root, error); // a leftover in %TEMP% harms no later run
    }
    *run = {};
}

bool WaitForExit(ProgramRun* run, DWORD* exitCode) {
    bool read = run->process.hProcess != nullptr &&
                WaitForSingleObject(run->process.hProcess, WAIT_TIMEOUT_MS) == WAIT_OBJECT_0 &&
                GetExitCodeProcess(run->process.hProcess, exitCode);
    KillProgram(run);
    return read;
}

HWND FindMainWindow(const ProgramRun& run) {
    for (HWND window : ProgramWindows(run))
        if (ClassName(window) != MESSAGE_BOX_CLASS && WindowText(window) == MAIN_WINDOW_TITLE)
            return window;
    return nullptr;
}

HWND FindMessageBox(const ProgramRun& run) {
    for (HWND window : ProgramWindows(run))
        if (ClassName(window) == MESSAGE_BOX_CLASS)
            return window;
    return nullptr;
}

MessageBoxContent ReadMessageBox(HWND box) {
    MessageBoxContent content;
    content.title = WindowText(box);
    char text[TEXT_SIZE];
    UINT length = GetDlgItemTextA(box, MESSAGE_TEXT_ID, text, TEXT_SIZE);
    content.text.assign(text, length);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassName(child) == "Button" && IsWindowVisible(child))
            content.buttons.push_back(GetDlgCtrlID(child));
    std::sort(content.buttons.begin(), content.buttons.end());
    content.icon = ShowsIcon(box);
    return content;
}

bool PressBoxButton(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    return button != nullptr && PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                             reinterpret_cast<LPARAM>(button));
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

std::string ButtonCaption(HWND window, int id) {
    return WindowText(GetDlgItem(window, id));
}

bool ClickButton(HWND button) {
    return PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
}
