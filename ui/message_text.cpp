#include "ui/message.h"

#include <string.h>

#include "heap/private_heap.h"

static char* textArea;
static char* textEnd;

bool InitMessageText() {
    textArea = static_cast<char*>(PrivateAlloc(MESSAGE_TEXT_SIZE));
    textEnd = textArea;
    return textArea != nullptr;
}

char* MessageTextEnd() {
    return textEnd;
}

void SetMessageTextEnd(char* end) {
    textEnd = end;
}

unsigned MessageTextRoom() {
    return static_cast<unsigned>(MESSAGE_TEXT_SIZE - (textEnd - textArea));
}

void AppendText(const char* text) {
    if (text == nullptr)
        text = "";
    // The last byte of the area stays for the terminating zero.
    size_t length = strlen(text);
    size_t room = MessageTextRoom() - 1;
    if (length > room)
        length = room;
    memcpy(textEnd, text, length);
    textEnd += length;
    *textEnd = 0;
}

void AppendChar(char c) {
    if (MessageTextRoom() < 2)
        return;
    textEnd[0] = c;
    textEnd[1] = 0;
    ++textEnd;
}

bool TextEquals(const char* a, const char* b) {
    return strcmp(a != nullptr ? a : "", b != nullptr ? b : "") == 0;
}
