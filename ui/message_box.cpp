#include "ui/message.h"
#include "ui/message_box_platform.h"

static bool IsButtonAnswer(int answer, unsigned style) {
    bool withCancel = style == STYLE_WARNING_QUESTION || style == STYLE_INFO_QUESTION;
    return answer == ANSWER_OK || (withCancel && answer == ANSWER_CANCEL);
}

int ShowMessage(const char* title, const char* text, unsigned style) {
    int answer = PlatformMessageBox(title, text, style, true);
    // The foreground window may be destroyed just as the box opens: the box then fails at
    // once and nothing is shown. Without an owner it cannot fail that way.
    if (!IsButtonAnswer(answer, style))
        answer = PlatformMessageBox(title, text, style, false);
    return answer;
}
