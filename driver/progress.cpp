// The Print Spool Status window: a rows bar, and a copies bar when there are several copies.
#include "pipeline_p.h"
#include "resources/resource_library.h"
#include "settings/texts.h"

#include <cwchar>

void Status_Window::open(unsigned template_id, std::int32_t copy_count, std::int32_t page_max_y) {
    close();
    copies = copy_count;
    window = std::make_unique<vxp::Modeless_Window>(ResourceLibraryHandle(), template_id, nullptr);
    if (copies < 2) {
        window->set_item_text(1041, settings::g_texts.current_page);
        window->set_item_text(1042, L"");
    } else {
        wchar_t title[256];
        std::swprintf(title, 256, settings::g_texts.spool_status_copies, copies);
        window->set_caption(title);
    }
    // NOTE: the bars are 300 x 20 pixels, as the window's layout expects.
    if (copies >= 2) {
        copies_bar = window->add_progress_bar(15, 25, 300, 20);
        window->set_range(copies_bar, 0, 100);
        window->set_step(copies_bar, 1);
        rows_bar = window->add_progress_bar(15, 75, 300, 20);
    } else {
        copies_bar = -1;
        rows_bar = window->add_progress_bar(15, 25, 300, 20);
    }
    window->set_range(rows_bar, 0, page_max_y);
    window->set_step(rows_bar, 1);
    row_counter = 0;
    row_step = double(page_max_y) * copies / 100.0;
    if (copies_bar >= 0)
        window->step(copies_bar);
}

void Status_Window::advance() {
    if (!window)
        return;
    window->step(rows_bar);
    row_counter += 1;
    if (row_counter >= row_step) {
        row_counter = 0;
        if (copies >= 2)
            window->step(copies_bar);
    }
}

void Status_Window::start_replay(std::int32_t last_chunk) {
    if (!window)
        return;
    window->set_range(rows_bar, 0, last_chunk);
    window->set_step(rows_bar, 1);
    window->set_position(rows_bar, 0);
    row_counter = 0;
}

void Status_Window::close() {
    if (window)
        window->close();
    window.reset();
}
