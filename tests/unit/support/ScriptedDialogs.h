#pragma once
// The user's side of a program's message boxes, for the fake of any port that shows them: each box is recorded,
// and answered as scripted.
#include "common/Dialogs.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qn::fake {

struct ShownBox {
    std::string text;
    std::string title;
    unsigned style = 0;
};

template <typename Port>
class ScriptedDialogs : public Port {
public:
    // `title`: the title every box of the program must carry, checked as each one shows.
    explicit ScriptedDialogs(std::optional<std::string> title = std::nullopt) : m_title(std::move(title)) {}

    std::deque<DialogAnswer> answers; // one for each box, in turn; Ok once they are used up
    std::function<void()> whileShown; // what happens while a box shows: the user's clicks elsewhere, a timer
    std::vector<ShownBox> shown;

    DialogAnswer ShowMessage(const std::string& text, const std::string& title, unsigned style) override {
        if (m_title) {
            EXPECT_EQ(title, *m_title) << text;
        }
        shown.push_back({text, title, style});
        if (whileShown) {
            whileShown();
        }
        if (answers.empty()) {
            return DialogAnswer::Ok;
        }
        const DialogAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

private:
    std::optional<std::string> m_title;
};

} // namespace qn::fake
