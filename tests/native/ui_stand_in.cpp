#include "tests/native/ui_stand_in.h"

#include "heap/private_heap.h"
#include "app/program.h"
#include "ui/message.h"
#include "ui/window.h"

static UiScript script;
static int lastControl;
static int windowToken;

UiScript& Ui() {
    return script;
}

void ResetUi() {
    script = UiScript();
    ReleasePrivateHeap();
    (void)CreatePrivateHeap();
    (void)InitMessageText();
}

bool EndsProgram(const std::function<void()>& flow) {
    try {
        flow();
    } catch (const ProgramEnded&) {
        return true;
    }
    return false;
}

int ShowMessage(const char* title, const char* text, unsigned style) {
    script.messages.push_back({title, text, style});
    if (script.onMessage)
        script.onMessage(script.messages.back());
    if (script.answers.empty())
        return ANSWER_OK;
    int answer = script.answers.front();
    script.answers.pop_front();
    return answer;
}

void EndProcess() {
    throw ProgramEnded();
}

void InitControlLayer() {}
void InitWindowLayer() {}
int ScreenWidth() {
    return SCREEN_WIDTH;
}
int ScreenHeight() {
    return SCREEN_HEIGHT;
}

WindowHandle CreateAppWindow(int, int x, int y, int width, int height, unsigned long style,
                             const char* title) {
    ++script.windowsCreated;
    script.windowsOpen = true;
    script.windowX = x;
    script.windowY = y;
    script.windowWidth = width;
    script.windowHeight = height;
    script.windowStyle = style;
    script.windowTitle = title;
    return &windowToken;
}

WindowHandle CurrentWindowHandle() {
    return &windowToken;
}
void SetControlParent(WindowHandle) {}

WindowHandle AddButton(int n, int, int, int, int, const char* caption, unsigned long) {
    script.captions[n] = caption;
    return &windowToken;
}

void DisableControl(int n, int state) {
    script.disabled[n] = state == CONTROL_DISABLE;
}
void SetControlText(int n, const char* text) {
    script.captions[n] = text;
}
void GetControlText(int n) {
    AppendText(script.captions[n].c_str());
}

int WaitEvent() {
    if (script.events.empty())
        return EVENT_CLOSE;
    ScriptedEvent event = script.events.front();
    script.events.pop_front();
    lastControl = event.control;
    return event.code;
}

int EventControlNumber() {
    return lastControl;
}
void CloseAppWindow(int) {
    script.windowsOpen = false;
}
void CloseAllWindows() {
    script.windowsOpen = false;
}
