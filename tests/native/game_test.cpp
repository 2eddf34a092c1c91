#include "tests/native/game_test.h"

#include <cstdlib>
#include <set>

#include "app/main_window_controls.h"
#include "fileset/program_directory_posix.h"
#include "heap/private_heap.h"
#include "sample/sample_game.h"
#include "ui/message.h"
#include "ui/message_box_platform.h"

Screen screen;
// The first line of every box shown in this run: the player's guide explains each.
static std::set<std::string> shownFirstLines;

std::string Liesmich() {
    return ReadFile(std::filesystem::path(TAUSCHWERK_SOURCE_DIR) / "res/release/LIESMICH.txt");
}

// A player searches the guide for the first line on the screen: it must stand whole on a
// line of its own in "Meldungen", indented by two blanks at most.
struct GuideExplainsEveryMessage : testing::Environment {
    void TearDown() override {
        std::string guide = Liesmich();
        size_t section = guide.find("\r\nMeldungen\r\n");
        ASSERT_NE(section, std::string::npos);
        guide = "\r\n" + guide.substr(section);
        for (const std::string& line : shownFirstLines) {
            bool found = false;
            for (const char* indent : {"", " ", "  "})
                found = found || guide.find("\r\n" + (indent + line) + "\r\n") != std::string::npos;
            EXPECT_TRUE(found) << line;
        }
    }
};
static testing::Environment* const guideCheck =
    testing::AddGlobalTestEnvironment(new GuideExplainsEveryMessage);
static int lastControl;
static std::vector<Fault> injected;

static std::filesystem::path gameRoot;

static FileFailure FailInjected(FileOperation call, const char* source, const char* target) {
    for (Fault& fault : injected)
        if (fault.call == call && fault.path == source && fault.times != 0 &&
            (fault.target.empty() || (target != nullptr && fault.target == target))) {
            fault.times -= fault.times > 0;
            if (!fault.touched.empty())
                (void)WriteFile(GamePath(gameRoot, fault.touched), "rewritten meanwhile");
            return fault.reason;
        }
    return FileFailure::None;
}

void InjectFaults(const std::vector<Fault>& faults) {
    injected = faults;
    SetFileFaultHook(FailInjected);
}

// The end of the process, turned into a way back to the test.
struct ProgramEnded {};

// The program's end releases its heap; the tests go on calling it afterwards.
static void FreshWorkArea() {
    ReleasePrivateHeap();
    if (!CreatePrivateHeap() || !InitMessageText())
        std::abort();
}

void GameTest::SetUp() {
    // In memory where there is such a file system: thousands of small files are made and
    // removed, which a disk's journal makes slow.
    std::string pattern = "/dev/shm/tauschwerk-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        pattern = "/tmp/tauschwerk-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    }
    root = gameRoot = pattern;
    ASSERT_TRUE(UseProgramDirectory(pattern.c_str()));
    screen = Screen();
    FreshWorkArea();
}

void GameTest::TearDown() {
    SetFileFaultHook(nullptr);
    std::filesystem::remove_all(root);
    std::filesystem::remove_all(Outside());
}

void GameTest::Write(const std::string& path, const std::string& content) const {
    if (path.back() == '\\')
        std::filesystem::create_directories(GamePath(root, path));
    else
        ASSERT_TRUE(WriteFile(GamePath(root, path), content)) << path;
}

void GameTest::Change(const std::vector<std::string>& changes) const {
    for (const std::string& change : changes) {
        if (change[0] == '-') {
            std::filesystem::remove_all(GamePath(root, change.substr(1)));
        } else if (change[0] == '@') { // a link to a file of that name outside
            std::filesystem::path target = Outside() / std::to_string(change.size());
            ASSERT_TRUE(WriteFile(target, change));
            std::filesystem::remove_all(GamePath(root, change.substr(1)));
            std::filesystem::create_symlink(target, GamePath(root, change.substr(1)));
        } else {
            Write(change, change);
        }
    }
}

std::string GameTest::Read(const std::string& path) const {
    std::filesystem::path file = GamePath(root, path);
    return std::filesystem::is_regular_file(file) ? ReadFile(file) : ABSENT;
}

bool GameTest::Start(void (*entry)()) {
    FreshWorkArea();
    try {
        entry();
    } catch (const ProgramEnded&) {
        FreshWorkArea();
        return true;
    }
    return false;
}

// The screen as the program sees it.

int PlatformMessageBox(const char* title, const char* text, unsigned style, bool owned) {
    if (!owned) {
        ++screen.unowned;
        return screen.unownedAnswer;
    }
    screen.messages.push_back({title, text, style});
    screen.captionsBehind.push_back(screen.caption);
    screen.commandsBehind.push_back(screen.command);
    if (std::string(title).rfind("Tauschwerk", 0) == 0) // not a test's own box
        shownFirstLines.insert(std::string(text).substr(0, std::string(text).find('\n')));
    if (screen.decide && (style == STYLE_INFO_QUESTION || style == STYLE_WARNING_QUESTION))
        return screen.decide(text);
    return screen.messages.size() == 1 ? screen.answer : ANSWER_OK;
}

void EndProcess() {
    throw ProgramEnded();
}

int ScreenWidth() {
    return 1024;
}

int ScreenHeight() {
    return 768;
}

WindowHandle CreateAppWindow(int, int, int, int, int, unsigned long, const char*) {
    screen.mainWindow = true;
    return &screen;
}

WindowHandle CurrentWindowHandle() {
    return &screen;
}

void SetControlParent(WindowHandle) {}

WindowHandle AddButton(int n, int, int, int, int, const char* caption, unsigned long) {
    if (n == STATUS_BUTTON)
        screen.caption = caption;
    return &screen;
}

void DisableControl(int n, int state) {
    if (n == STATUS_BUTTON)
        screen.stateDisabled = state == CONTROL_DISABLE;
}

void SetControlText(int n, const char* text) {
    if (n == STATUS_BUTTON)
        screen.caption = text;
}

void GetControlText(int n) {
    AppendText(n == STATUS_BUTTON ? screen.caption.c_str() : "");
}

int WaitEvent() {
    if (screen.clicks.empty()) {
        screen.closed = true;
        return EVENT_CLOSE;
    }
    lastControl = screen.clicks.front();
    screen.clicks.pop_front();
    ++screen.command;
    return EVENT_CONTROL;
}

int EventControlNumber() {
    return lastControl;
}

void CloseAllWindows() {}
