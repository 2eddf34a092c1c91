// A box that could not be shown.

#include "tests/native/game_test.h"

namespace {

using Messages = GameTest;

TEST_F(Messages, BoxThatCouldNotBeShownIsNotShownAgainWithoutOwner) {
    constexpr int UNOWNED_ANSWER = 3; // unlike every first answer
    const struct {
        unsigned style;
        int first; // answer to the owned box
        bool again;
    } cases[] = {
        {STYLE_INFO, ANSWER_OK, false},
        {STYLE_INFO_QUESTION, ANSWER_CANCEL, false},
        {STYLE_ERROR, 0, true},             // the owner gone, as Windows answers
        {STYLE_WARNING_QUESTION, -1, true}, // and as Wine answers
        {STYLE_PLAIN, ANSWER_CANCEL, true}, // a button the box does not have
    };
    for (const auto& c : cases) {
        screen = Screen();
        screen.answer = c.first;
        screen.unownedAnswer = UNOWNED_ANSWER;
        EXPECT_EQ(ShowMessage("title", "text", c.style), c.again ? UNOWNED_ANSWER : c.first);
        EXPECT_EQ(screen.messages, std::vector<ShownMessage>({{"title", "text", c.style}}));
        EXPECT_EQ(screen.unowned, c.again ? 1 : 0) << c.style << " " << c.first;
    }
}

} // namespace
