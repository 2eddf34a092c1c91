#pragma once

// Message boxes and the work area in which their texts of several lines are composed.
// Texts are zero-terminated code page 1252 bytes; a line break is a single line feed.

constexpr unsigned MESSAGE_TEXT_SIZE = 64000;

// Message box styles the program passes (the platform's values for icon and buttons).
constexpr unsigned STYLE_PLAIN = 0;             // OK
constexpr unsigned STYLE_ERROR = 16;            // OK, error icon
constexpr unsigned STYLE_WARNING_QUESTION = 49; // OK and Cancel, exclamation icon
constexpr unsigned STYLE_INFO = 64;             // OK, information icon
constexpr unsigned STYLE_INFO_QUESTION = 65;    // OK and Cancel, information icon

constexpr int ANSWER_NONE = 0; // the box could not be shown
constexpr int ANSWER_OK = 1;
constexpr int ANSWER_CANCEL = 2;

constexpr char LINE_FEED = 10;

// Obtains the zero-filled work area from the private heap; false when there is none.
bool InitMessageText();
// Where the next text begins. Callers remember it before composing and set it back after
// use, so texts are built last-in, first-out in the same place.
char* MessageTextEnd();
void SetMessageTextEnd(char* end);
// Bytes left behind the end, its terminating zero included.
unsigned MessageTextRoom();

// Appends text (null counts as empty) and leaves the end on its terminating zero. A text
// that would run past the work area is cut there, still zero-terminated.
void AppendText(const char* text);
void AppendChar(char c);
// Same bytes up to and including the terminating zero; null counts as empty.
bool TextEquals(const char* a, const char* b);

// A modal box owned by the current foreground window; one that cannot be shown so is shown
// again without owner. Answers the button chosen, or another number when neither was shown.
int ShowMessage(const char* title, const char* text, unsigned style);
