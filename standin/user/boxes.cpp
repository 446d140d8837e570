// Modal boxes: the one road every box takes to the backend, with the record and the
// scripted answers the test hooks offer.
#include "user/boxes.h"

#include "user/queue.h"

#include <standin/testhooks.h>

#include <cstdio>
#include <cstdlib>
#include <deque>

namespace standin::user {

namespace {

struct Boxes {
    std::vector<test::BoxRecord> shown;
    std::deque<std::string> answers; // button labels, one per coming box
};

Boxes &State()
{
    static Boxes boxes;
    return boxes;
}

const char *IconName(BoxSpec::Icon icon)
{
    switch (icon) {
    case BoxSpec::Icon::Information: return "information";
    case BoxSpec::Icon::Question: return "question";
    case BoxSpec::Icon::Warning: return "warning";
    case BoxSpec::Icon::Error: return "error";
    case BoxSpec::Icon::None: break;
    }
    return "none";
}

} // namespace

int RunModalBox(HWND owner, const BoxSpec &box, std::string *why)
{
    Boxes &s = State();
    int chosen;
    if (!s.answers.empty()) {
        const std::string label = s.answers.front();
        s.answers.pop_front();
        chosen = -1;
        for (size_t i = 0; i < box.buttons.size(); ++i)
            if (box.buttons[i] == label)
                chosen = static_cast<int>(i);
        if (chosen < 0) {
            // A script that names a button the box does not have is a broken test.
            std::fprintf(stderr, "standin: the box \"%s\" has no button \"%s\"\n", box.caption.c_str(), label.c_str());
            std::abort();
        }
    } else {
        // The box blocks the program: what it drew must be on the screen behind the box.
        PresentDue(true);
        Window *w = FindWindow(owner);
        std::string failure;
        chosen = ActiveBackend().ShowBox(w, box, failure);
        if (chosen < 0) {
            if (failure.empty())
                failure = "the window system refused it";
            std::fprintf(stderr, "%s: %s\n(this box could not be shown: %s)\n", box.caption.c_str(),
                         box.text.c_str(), failure.c_str());
            std::fflush(stderr);
            if (why)
                *why = failure;
        }
    }
    s.shown.push_back(test::BoxRecord{owner, box.caption, box.text, IconName(box.icon), box.buttons,
                                      chosen >= 0 ? box.buttons[static_cast<size_t>(chosen)] : std::string()});
    return chosen;
}

} // namespace standin::user

namespace standin::test {

std::vector<BoxRecord> TakeShownBoxes()
{
    std::vector<BoxRecord> shown;
    shown.swap(user::State().shown);
    return shown;
}

void AnswerNextBox(const std::string &buttonLabel) { user::State().answers.push_back(buttonLabel); }

} // namespace standin::test
