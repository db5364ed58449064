// Message boxes: what a box shows is recorded (tests read it back) and echoed to standard error,
// where a person running a host program in a terminal sees it. The answer is the next queued one;
// without one, a real Qt box asks the user when the Qt back end is in use and nobody scripts the
// user, else the box answers OK (or Yes) by itself.
#include "../qt/qt_windows.h"
#include "../vxplatform.h"

#include <cstdio>
#include <deque>
#include <mutex>

namespace vxp {
namespace {

struct Message_Box_State {
    std::mutex mutex;
    std::vector<Shown_Message_Box> shown;
    std::deque<int> answers;
    bool echo = true;
};

Message_Box_State& state() {
    static Message_Box_State s;
    return s;
}

int default_answer(unsigned flags) {
    return (flags & 0xF) == mb_yes_no ? id_yes : id_ok;
}

} // namespace

int message_box(Window_Handle owner, const std::wstring& text, const std::wstring& caption,
                unsigned flags) {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.shown.push_back({owner, text, caption, flags});
    if (s.echo && caption.empty())
        std::fprintf(stderr, "%s\n", to_utf8(text).c_str());
    else if (s.echo)
        std::fprintf(stderr, "%s: %s\n", to_utf8(caption).c_str(), to_utf8(text).c_str());
    if (s.answers.empty() && qt_interactive()) {
        s.mutex.unlock(); // the window's event loop may show further boxes
        int answer = qt_message_box(text, caption, flags);
        s.mutex.lock();
        return answer;
    }
    if (s.answers.empty())
        return default_answer(flags);
    int answer = s.answers.front();
    s.answers.pop_front();
    return answer;
}

std::vector<Shown_Message_Box> shown_message_boxes() {
    std::lock_guard lock(state().mutex);
    return state().shown;
}

void clear_shown_message_boxes() {
    std::lock_guard lock(state().mutex);
    state().shown.clear();
    state().answers.clear();
}

void queue_message_box_answer(int answer) {
    std::lock_guard lock(state().mutex);
    state().answers.push_back(answer);
}

void set_message_box_echo(bool echo) {
    std::lock_guard lock(state().mutex);
    state().echo = echo;
}

} // namespace vxp
