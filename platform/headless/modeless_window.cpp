// Headless modeless windows: what a window would show is recorded; when standard error is a
// terminal, the first progress bar of the open window is drawn on one line there.
#include "../qt/qt_windows.h"
#include "../vxplatform.h"

#include <cstdio>
#include <mutex>
#include <unistd.h>

namespace vxp {
namespace {

struct Windows {
    std::mutex mutex;
    std::vector<Shown_Window> shown;
};

Windows& windows() {
    static Windows* w = new Windows;
    return *w;
}

// NOTE: bars live in 16-bit progress controls.
int sixteen_bits(int value) {
    return value & 0xFFFF;
}

void draw_on_terminal(const Shown_Window& window) {
    if (!isatty(STDERR_FILENO) || window.bars.empty())
        return;
    const auto& bar = window.bars.back();
    int span = bar.high > bar.low ? bar.high - bar.low : 1;
    int filled = 40 * (bar.position - bar.low) / span;
    std::string line = "\r" + to_utf8(window.caption) + " [";
    for (int i = 0; i < 40; ++i)
        line += i < filled ? '#' : '.';
    line += "]";
    std::fputs(line.c_str(), stderr);
}

} // namespace

Modeless_Window::Modeless_Window(Module_Handle module, unsigned id, Window_Handle owner) {
    Shown_Window window{id, owner, {}, {}, {}, false};
    if (const Dialog_Resource* dialog = find_dialog(module, id)) {
        window.caption = dialog->caption ? dialog->caption : L"";
        for (std::size_t i = 0; i < dialog->control_count; ++i)
            window.item_texts.emplace_back(
                dialog->controls[i].id, dialog->controls[i].text ? dialog->controls[i].text : L"");
    }
    {
        std::lock_guard lock(windows().mutex);
        windows().shown.push_back(window);
        m_record = int(windows().shown.size() - 1);
    }
    if (qt_windows()) {
        qt_open_window(m_record, find_dialog(module, id));
        qt_update_window(m_record, window);
    }
}

Modeless_Window::~Modeless_Window() {
    close();
}

template <class Change>
void change(int record, Change&& apply) {
    Shown_Window shown;
    {
        std::lock_guard lock(windows().mutex);
        if (record >= int(windows().shown.size()))
            return;
        Shown_Window& window = windows().shown[std::size_t(record)];
        if (window.closed)
            return;
        apply(window);
        draw_on_terminal(window);
        shown = window;
    }
    if (qt_windows())
        qt_update_window(record, shown);
}

void Modeless_Window::set_caption(const std::wstring& text) {
    change(m_record, [&](Shown_Window& w) { w.caption = text; });
}

void Modeless_Window::set_item_text(int control, const std::wstring& text) {
    change(m_record, [&](Shown_Window& w) {
        for (auto& [id, current] : w.item_texts)
            if (id == control) {
                current = text;
                return;
            }
        w.item_texts.emplace_back(control, text);
    });
}

int Modeless_Window::add_progress_bar(int x, int y, int width, int height) {
    int bar = 0;
    change(m_record, [&](Shown_Window& w) {
        w.bars.push_back({x, y, width, height, 0, 100, 10, 0, 0});
        bar = int(w.bars.size() - 1);
    });
    return bar;
}

void Modeless_Window::set_range(int bar, int low, int high) {
    change(m_record, [&](Shown_Window& w) {
        auto& b = w.bars.at(std::size_t(bar));
        b.low = sixteen_bits(low);
        b.high = sixteen_bits(high);
        b.position = b.low;
    });
}

void Modeless_Window::set_step(int bar, int step) {
    change(m_record, [&](Shown_Window& w) { w.bars.at(std::size_t(bar)).step = step; });
}

void Modeless_Window::set_position(int bar, int position) {
    change(m_record, [&](Shown_Window& w) { w.bars.at(std::size_t(bar)).position = position; });
}

void Modeless_Window::step(int bar) {
    change(m_record, [&](Shown_Window& w) {
        auto& b = w.bars.at(std::size_t(bar));
        ++b.steps_taken;
        b.position += b.step;
        if (b.position > b.high)
            b.position = b.low + (b.position - b.high);
    });
}

void Modeless_Window::close() {
    {
        std::lock_guard lock(windows().mutex);
        if (m_record >= int(windows().shown.size()) ||
            windows().shown[std::size_t(m_record)].closed)
            return;
        windows().shown[std::size_t(m_record)].closed = true;
        if (isatty(STDERR_FILENO) && !windows().shown[std::size_t(m_record)].bars.empty())
            std::fputs("\n", stderr);
    }
    qt_close_window(m_record);
}

std::vector<Shown_Window> shown_windows() {
    std::lock_guard lock(windows().mutex);
    return windows().shown;
}

void clear_shown_windows() {
    std::lock_guard lock(windows().mutex);
    windows().shown.clear();
}

} // namespace vxp
