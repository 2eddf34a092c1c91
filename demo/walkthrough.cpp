// The main job's walk-through: prepares a sample game directory, or drives the real program
// through its whole life cycle without a person, printing each step and saving a screenshot
// of each screen.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window_controls.h"
#include "app/texts.h"
#include "demo/screenshot.h"
#include "driver/driver.h"

namespace {

int step = 0;

const char* Present(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::exists(file, error) ? "present" : "absent";
}

void PrintMarkers(const ProgramRun& run) {
    std::printf("    markers: ORI!files.txt %s, MOD!files.txt %s\n",
                Present(run.game / "ORI!files.txt"), Present(run.game / "MOD!files.txt"));
}

// The program's texts are code page 1252; the terminal reads UTF-8.
std::string Utf8(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    int length = MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()),
                                     wide.data(), static_cast<int>(wide.size()));
    std::string utf8(static_cast<size_t>(length) * 3, '\0');
    length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(),
                                 static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(static_cast<size_t>(length));
    return utf8;
}

// Saves the window's own rectangle, so that the picture shows what a person sees of it.
bool Shot(const std::filesystem::path& shots, const char* name, HWND window) {
    ++step;
    RECT area;
    if (!GetWindowRect(window, &area))
        return false;
    // A window that has just appeared may not have painted yet: have it paint now.
    (void)RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    wchar_t file[64];
    (void)swprintf(file, 64, L"%02d-", step);
    std::filesystem::path path =
        shots / (std::wstring(file) + std::filesystem::u8path(name).wstring() + L".bmp");
    std::printf("    screenshot: %s\n", path.filename().u8string().c_str());
    return SaveScreenshot(path, area);
}

// Waits for a box, prints it, saves a screenshot and presses a button.
bool AnswerBox(const ProgramRun& run, const std::filesystem::path& shots, const char* name,
               int button) {
    HWND box = nullptr;
    if (!PollUntil([&] { return (box = FindMessageBox(run)) != nullptr; })) {
        std::printf("!! no message box appeared\n");
        return false;
    }
    MessageBoxContent content = ReadMessageBox(box);
    std::printf("    box \"%s\":\n", Utf8(content.title).c_str());
    std::string text = content.text;
    std::string::size_type start = 0;
    for (;;) {
        std::string::size_type end = text.find('\n', start);
        std::printf("      | %s\n", Utf8(text.substr(start, end - start)).c_str());
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    bool ok = Shot(shots, name, box);
    std::printf("    pressing %s\n", button == IDOK ? "OK" : "Cancel");
    return PressBoxButton(box, button) &&
           PollUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }) && ok;
}

// Wine draws the close box's cross with its Marlett font, and the letter "r" without it. The
// cross's black pixels mirror onto themselves left to right and top to bottom; a letter's do not.
bool CloseBoxShowsCross(HWND window) {
    RECT outer;
    RECT client;
    if (!GetWindowRect(window, &outer) || !GetClientRect(window, &client))
        return false;
    POINT corner = {client.right, client.bottom};
    (void)ClientToScreen(window, &corner);
    // Wine draws the box 2 pixels inside the frame's top right corner, 2 pixels narrower and 4
    // shorter than the metrics say. Only its glyph is black: its edges are grey.
    int right = corner.x - 2;
    int top = outer.top + (outer.bottom - corner.y) + 2;
    RECT box = {right - GetSystemMetrics(SM_CXSIZE) + 2, top, right,
                top + GetSystemMetrics(SM_CYSIZE) - 4};
    std::vector<RGBQUAD> pixels = ReadScreen(box);
    if (pixels.empty())
        return false;
    int width = box.right - box.left;
    int height = box.bottom - box.top;
    auto black = [&](int x, int y) {
        const RGBQUAD& p = pixels[static_cast<size_t>(y) * width + x];
        return p.rgbRed < 0x40 && p.rgbGreen < 0x40 && p.rgbBlue < 0x40;
    };
    int left = width, first = height, last = -1, end = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (black(x, y)) {
                left = std::min(left, x);
                end = std::max(end, x);
                first = std::min(first, y);
                last = std::max(last, y);
            }
    // Nothing, or a stray line, is no cross either.
    if (end - left < 2 || last - first < 2)
        return false;
    for (int y = first; y <= last; ++y)
        for (int x = left; x <= end; ++x)
            if (black(x, y) != black(left + end - x, y) ||
                black(x, y) != black(x, first + last - y))
                return false;
    return true;
}

bool ShowMainWindow(const ProgramRun& run, const std::filesystem::path& shots, const char* name,
                    const char* caption) {
    HWND window = nullptr;
    if (!PollUntil([&] {
            return (window = FindMainWindow(run)) != nullptr &&
                   ButtonCaption(window, STATUS_BUTTON) == caption;
        })) {
        std::printf("!! the main window does not read \"%s\"\n", caption);
        return false;
    }
    std::printf("    main window: \"%s\"\n", caption);
    PrintMarkers(run);
    if (!Shot(shots, name, window))
        return false;
    if (!CloseBoxShowsCross(window)) {
        std::printf("!! the close box shows no cross: Wine did not find its Marlett font, which "
                    "wine_prefix_init (scripts/wine-env.sh) copies into a new prefix\n");
        return false;
    }
    return true;
}

bool Click(const ProgramRun& run, int control, const char* what) {
    std::printf("%s\n", what);
    HWND window = nullptr;
    return PollUntil([&] { return (window = FindMainWindow(run)) != nullptr; }) &&
           ClickButton(GetDlgItem(window, control));
}

bool Walk(ProgramRun* run, const std::filesystem::path& shots) {
    std::printf("1. Start Tauschwerk.exe in a fresh game directory\n");
    if (StartInSampleGame(run, SampleLayout::Fresh, nullptr, nullptr, true) == nullptr)
        return false;
    std::printf("Sample game directory: %s\n", run->game.u8string().c_str());
    bool ok = AnswerBox(*run, shots, "installation-question", IDOK);
    std::printf("2. Installation\n");
    ok = ok && AnswerBox(*run, shots, "installation-done", IDOK);
    ok = ok && ShowMainWindow(*run, shots, "main-window-modified", CAPTION_MODIFIED);
    ok = ok && Click(*run, STATUS_BUTTON, "3. Switch to the original files");
    ok = ok && ShowMainWindow(*run, shots, "main-window-original", CAPTION_ORIGINAL);
    ok = ok && Click(*run, STATUS_BUTTON, "4. Switch to the modified files");
    ok = ok && ShowMainWindow(*run, shots, "main-window-modified-again", CAPTION_MODIFIED);
    ok = ok && Click(*run, INFOS_BUTTON, "5. Infos");
    ok = ok && AnswerBox(*run, shots, "infos", IDOK);
    ok = ok && Click(*run, UNINSTALL_BUTTON, "6. Uninstall");
    ok = ok && AnswerBox(*run, shots, "uninstall-question", IDOK);
    ok = ok && AnswerBox(*run, shots, "uninstall-done", IDOK);
    DWORD exitCode = 1;
    ok = ok && WaitForExit(run, &exitCode);
    std::printf("    program ended with exit code %lu\n", exitCode);
    PrintMarkers(*run);
    std::printf("7. Start again: the installation is offered again\n");
    ok = ok && StartProgram(run) && AnswerBox(*run, shots, "installation-offered-again", IDCANCEL);
    ok = ok && WaitForExit(run, &exitCode);
    return ok && exitCode == 0;
}

} // namespace

// demo prepare DIR: a sample game directory with the setup files and the program in it.
// demo walk SHOTS: the headless walk-through, screenshots into SHOTS.
int wmain(int argc, wchar_t** argv) {
    if (argc != 3)
        return 2;
    std::wstring command = argv[1];
    std::filesystem::path target = argv[2];
    ProgramRun run = {};
    if (command == L"prepare") {
        run.game = target;
        bool ok = MakeSampleGame(target, SampleLayout::Fresh, WITH_SETUP_FILES) && CopyProgram(run);
        return ok ? 0 : 1;
    }
    if (command != L"walk")
        return 2;
    std::error_code error;
    std::filesystem::create_directories(target, error);
    bool ok = Walk(&run, target);
    EndRun(&run);
    std::printf(ok ? "Walk-through complete.\n" : "Walk-through FAILED.\n");
    return ok ? 0 : 1;
}
