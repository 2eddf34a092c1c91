// Text composition in the message-text work area.

#include <gtest/gtest.h>

#include <string>

#include "tests/native/ui_stand_in.h"
#include "ui/message.h"

namespace {

TEST(MessageText, TextEqualsComparesEveryByte) {
    const char state[] = "Dateien sind z. Z. ORIGINALE";
    struct {
        const char* a;
        const char* b;
        bool equal;
    } const cases[] = {
        {state, "Dateien sind z. Z. ORIGINALE", true},
        {state, "Dateien sind z. Z. ORIGINALE ", false},
        {state, "dateien sind z. z. originale", false},
        {state, "Dateien sind z. Z. ORIGINAL", false},
        {nullptr, "", true},
        {"", nullptr, true},
        {nullptr, "x", false},
        {"l\xE4uft", "l\xC4uft", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextEquals(c.a, c.b), c.equal)
            << (c.a ? c.a : "(null)") << " / " << (c.b ? c.b : "(null)");
}

TEST(MessageText, ComposedTextsStartInTheSamePlaceAndNeverOverrun) {
    ResetUi();
    char* start = MessageTextEnd();
    AppendText("first");
    AppendChar(LINE_FEED);
    AppendChar(LINE_FEED);
    AppendText(nullptr);
    AppendText("second");
    EXPECT_STREQ(start, "first\n\nsecond");
    SetMessageTextEnd(start);

    // An overlong text is cut at the end of the area, still zero-terminated; ASan watches
    // the bytes beyond it.
    std::string overlong(MESSAGE_TEXT_SIZE + 100, 'x');
    AppendText(overlong.c_str());
    AppendChar(LINE_FEED);
    AppendText("more");
    EXPECT_EQ(std::string(start), overlong.substr(0, MESSAGE_TEXT_SIZE - 1));
    EXPECT_EQ(MessageTextRoom(), 1u);
    SetMessageTextEnd(start);
    EXPECT_EQ(MessageTextRoom(), MESSAGE_TEXT_SIZE);
}

} // namespace
