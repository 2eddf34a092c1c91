#include "ui/window.h"

#include <stdio.h>

#include "heap/private_heap.h"
#include "ui/window_state_win32.h"

static_assert(STYLE_MAIN_WINDOW == (WS_CAPTION | WS_SYSMENU) &&
                  STYLE_DEFAULT_BUTTON == BS_DEFPUSHBUTTON,
              "the portable styles are the platform's");

WindowLayer Layer;

namespace {

constexpr int WINDOW_CAPACITY = 10;
constexpr int WINDOW_GROWTH = 10;
constexpr int CLASS_NAME_SIZE = 32;
constexpr WORD PROGRAM_ICON = 1;
constexpr char TEMPLATE_CLASS[] = "TemplateClass";

constexpr BYTE KEY_FLAGS_TAB = FVIRTKEY | FNOINVERT;
constexpr BYTE KEY_FLAGS_SHIFT_TAB = FVIRTKEY | FNOINVERT | FSHIFT;
constexpr int KEY_COUNT = 2;

void FormatClassName(int n, char* name) {
    snprintf(name, CLASS_NAME_SIZE, "WindowClass_%ld", static_cast<long>(n));
}

void RegisterWindowClass(const char* name) {
    Layer.windowClass.lpszClassName = name;
    // A class left over under this name serves the window just as well.
    (void)RegisterClassA(&Layer.windowClass);
}

void BuildKeyTable(WindowEntry* entry) {
    ACCEL* keys = static_cast<ACCEL*>(PrivateAlloc(KEY_COUNT * sizeof(ACCEL)));
    if (keys == nullptr)
        return;
    keys[0] = {KEY_FLAGS_TAB, VK_TAB, COMMAND_FOCUS_NEXT};
    keys[1] = {KEY_FLAGS_SHIFT_TAB, VK_TAB, COMMAND_FOCUS_PREVIOUS};
    entry->keyCount = KEY_COUNT;
    entry->keys = keys;
    entry->keyTable = CreateAcceleratorTableA(keys, KEY_COUNT);
}

bool IsOpenNumber(int n) {
    return n >= 0 && n < Layer.windowCapacity && Layer.windows[n].handle != nullptr;
}

} // namespace

bool GrowTable(void** table, int* capacity, int newCapacity, size_t entrySize) {
    size_t size = static_cast<size_t>(newCapacity + TABLE_SPARE) * entrySize;
    void* grown = *table == nullptr ? PrivateAlloc(size) : PrivateReAlloc(*table, size);
    if (grown == nullptr)
        return false;
    *table = grown;
    *capacity = newCapacity;
    return true;
}

void InitWindowLayer() {
    Layer.instance = GetModuleHandleA(nullptr);
    Layer.windows = nullptr;
    Layer.windowCapacity = 0;
    Layer.currentWindow = nullptr;
    Layer.pendingEvent = 0;
    Layer.eventControlNumber = 0;
    Layer.lastMessage = {};
    (void)GrowTable(reinterpret_cast<void**>(&Layer.windows), &Layer.windowCapacity,
                    WINDOW_CAPACITY, sizeof(WindowEntry));

    LOGBRUSH face = {BS_SOLID, GetSysColor(COLOR_BTNFACE), 0};
    WNDCLASSA& description = Layer.windowClass;
    description = {};
    description.lpfnWndProc = LayerWindowProc;
    description.hInstance = Layer.instance;
    description.hIcon = LoadIconA(Layer.instance, MAKEINTRESOURCEA(PROGRAM_ICON));
    description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // Lives as long as the process: every window class of the layer shares it.
    description.hbrBackground = CreateBrushIndirect(&face);
    RegisterWindowClass(TEMPLATE_CLASS);
}

int ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

int ScreenHeight() {
    return GetSystemMetrics(SM_CYSCREEN);
}

WindowHandle CreateAppWindow(int n, int x, int y, int width, int height, unsigned long style,
                             const char* title) {
    if (n < 0)
        return nullptr;
    if (n >= Layer.windowCapacity &&
        !GrowTable(reinterpret_cast<void**>(&Layer.windows), &Layer.windowCapacity,
                   n + WINDOW_GROWTH, sizeof(WindowEntry)))
        return nullptr;
    CloseAppWindow(n);

    char className[CLASS_NAME_SIZE];
    FormatClassName(n, className);
    RegisterWindowClass(className);

    // Visible from creation unless the caller asks otherwise by setting the bit.
    DWORD finalStyle = static_cast<DWORD>(style) ^ WS_VISIBLE;
    RECT outer = {x, y, x + width, y + height};
    // On failure the window is merely created with the client size as its outer size.
    (void)AdjustWindowRect(&outer, finalStyle, FALSE);
    HWND window =
        CreateWindowExA(0, className, title, finalStyle, x, y, outer.right - outer.left,
                        outer.bottom - outer.top, nullptr, nullptr, Layer.instance, nullptr);
    WindowEntry* entry = &Layer.windows[n];
    entry->handle = window;
    if (window == nullptr)
        return nullptr;
    Layer.currentWindow = window;
    BuildKeyTable(entry);
    return window;
}

WindowHandle CurrentWindowHandle() {
    return Layer.currentWindow;
}

void CloseAppWindow(int n) {
    if (!IsOpenNumber(n))
        return;
    WindowEntry* entry = &Layer.windows[n];
    HWND window = entry->handle;
    entry->handle = nullptr;
    // A window already gone with its thread leaves nothing to undo.
    (void)DestroyWindow(window);
    char className[CLASS_NAME_SIZE];
    FormatClassName(n, className);
    (void)UnregisterClassA(className, Layer.instance);
    if (entry->keyCount != 0) {
        PrivateFree(entry->keys);
        (void)DestroyAcceleratorTable(entry->keyTable);
    }
    entry->keyCount = 0;
    entry->keys = nullptr;
    entry->keyTable = nullptr;
}

void CloseAllWindows() {
    for (int n = Layer.windowCapacity - 1; n >= 0; --n)
        CloseAppWindow(n);
}
