// The Qt 6 Widgets back end of the dialog library: a window for a dialog's template, its controls
// placed at the template's rectangles in dialog units of the dialog's font, kept in step with the
// dialog's control states; the user's input becomes the dialog's notifications.
#include "platform/dialogs/dialog_p.h"
#include "qt_windows.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSlider>
#include <QStyledItemDelegate>
#include <QTimer>
#include <exception>
#include <functional>
#include <map>
#include <tuple>

namespace {

QString qt(const std::wstring& text) {
    return QString::fromStdWString(text);
}

// Dialog units of a font as the platform defines them: a quarter of the average width of the 52
// letters across, an eighth of the line height down (pixels per unit).
std::pair<double, double> dialog_units(const QFont& font) {
    QFontMetrics metrics(font);
    const double letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26.0 + 1) / 2.0 / 4.0, metrics.height() / 8.0};
}

QColor colour_of(std::uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

// Drawing on a Qt painter, for owner-drawn lists.
class Painter_Context : public Device_Context {
public:
    explicit Painter_Context(QPainter& painter) : m_painter(painter) {}
    int text_height() const override { return m_painter.fontMetrics().height(); }
    void select_palette(bool) override {} // Qt draws in true colour
    void set_colours(std::uint32_t text, std::uint32_t background) override {
        m_text = colour_of(text);
        m_background = colour_of(background);
    }
    void text_out(int x, int y, const Dialog_Rect& clip, const std::wstring& text) override {
        QRect area(clip.x, clip.y, clip.width, clip.height);
        m_painter.fillRect(area, m_background);
        m_painter.save();
        m_painter.setClipRect(area);
        m_painter.setPen(m_text);
        m_painter.drawText(x, y + m_painter.fontMetrics().ascent(), qt(text));
        m_painter.restore();
    }
    void fill(const Dialog_Rect& r, std::uint32_t colour) override {
        m_painter.fillRect(QRect(r.x, r.y, r.width, r.height), colour_of(colour));
    }
    void frame(const Dialog_Rect& r, std::uint32_t colour) override {
        m_painter.setPen(colour_of(colour));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(QRect(r.x, r.y, r.width - 1, r.height - 1));
    }
    void focus_rect(const Dialog_Rect& r) override {
        QPen pen(Qt::DotLine);
        m_painter.setPen(pen);
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(QRect(r.x, r.y, r.width - 1, r.height - 1));
    }

private:
    QPainter& m_painter;
    QColor m_text = Qt::black, m_background = Qt::white;
};

// The control object that draws a list's entries: the member bound to it, else the dialog's view.
CComboBox* drawer_of(CDialog& dialog, Control_State& state) {
    if (auto* bound = dynamic_cast<CComboBox*>(state.bound))
        return bound;
    return static_cast<CComboBox*>(dialog.GetDlgItem(state.id));
}

void draw_entry(CDialog& dialog, Control_State& state, QPainter& painter, const QRect& rect,
                int item, bool focused) {
    Painter_Context dc(painter);
    Draw_Item request{item,
                      focused,
                      focused,
                      !state.enabled,
                      Dialog_Rect{rect.x(), rect.y(), rect.width(), rect.height()},
                      &dc};
    drawer_of(dialog, state)->DrawItem(request);
}

class Owner_Delegate : public QStyledItemDelegate {
public:
    Owner_Delegate(CDialog& dialog, Control_State& state, QObject* parent)
        : QStyledItemDelegate(parent), m_dialog(dialog), m_state(state) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        draw_entry(m_dialog, m_state, *painter, option.rect, index.row(),
                   option.state & QStyle::State_HasFocus);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), option.fontMetrics.height() + 6};
    }

private:
    CDialog& m_dialog;
    Control_State& m_state;
};

// An owner-drawn list: its entries and its closed field drawn by the dialog's control object.
class Owner_Combo : public QComboBox {
public:
    Owner_Combo(CDialog& dialog, Control_State& state, QWidget* parent)
        : QComboBox(parent), m_dialog(dialog), m_state(state) {
        setItemDelegate(new Owner_Delegate(dialog, state, this));
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QComboBox::paintEvent(event);
        if (currentIndex() < 0)
            return;
        QPainter painter(this);
        const int arrow = height();
        draw_entry(m_dialog, m_state, painter, QRect(3, 3, width() - arrow - 6, height() - 6),
                   currentIndex(), false);
    }

private:
    CDialog& m_dialog;
    Control_State& m_state;
};

class Qt_Dialog : public QDialog {
public:
    Qt_Dialog(CDialog& dialog, const std::wstring& caption, bool scripted)
        : m_dialog(dialog), m_scripted(scripted) {
        setWindowTitle(qt(caption));
        QFont font(QStringLiteral("MS Sans Serif"), 9);
        setFont(font);
        std::tie(m_unit_x, m_unit_y) = dialog_units(font);
        for (const auto& state : dialog.controls())
            make(*state);
        new QShortcut(QKeySequence::HelpContents, this, [this] { after(0, NOTIFY_HELP); });
        sync();
    }

    void set_size(int width, int height) { setFixedSize(x(width), y(height)); }

    // Plays the queued actions, one per turn of the event loop.
    void play() {
        std::optional<Dialog_Action> action = next_dialog_action();
        if (!action) {
            if (m_scripted)
                reject(); // a script that ends leaves no one to close the window
            return;
        }
        if (action->kind == Dialog_Action::shot) {
            grab().save(QString::fromStdWString(action->text));
        } else {
            // A script error cannot cross the event loop: it ends the run and is thrown after.
            try {
                m_dialog.perform(*action);
            } catch (...) {
                error = std::current_exception();
                reject();
                return;
            }
            sync();
            if (finish())
                return;
        }
        QTimer::singleShot(0, this, [this] { play(); });
    }

    std::exception_ptr error;

    void reject() override {
        if (!m_dialog.ended())
            m_dialog.close_window();
        QDialog::reject();
    }

private:
    int x(int units) const { return int(units * m_unit_x + 0.5); }
    int y(int units) const { return int(units * m_unit_y + 0.5); }

    void make(Control_State& s) {
        QWidget* w = nullptr;
        const QString text = qt(s.text);
        const std::string& kind = s.kind;
        if (kind == "group") {
            w = new QGroupBox(text, this);
        } else if (is_check(s)) {
            auto* box = new QCheckBox(text, this);
            connect(box, &QCheckBox::clicked, this, [this, id = s.id] { click(id); });
            w = box;
        } else if (is_radio(s)) {
            auto* button = new QRadioButton(text, this);
            button->setAutoExclusive(false); // the dialog keeps its groups
            connect(button, &QRadioButton::clicked, this, [this, id = s.id] { click(id); });
            w = button;
        } else if (kind == "button" || kind == "default_button") {
            auto* button = new QPushButton(text, this);
            button->setDefault(kind == "default_button");
            button->setAutoDefault(false);
            connect(button, &QPushButton::clicked, this, [this, id = s.id] { click(id); });
            w = button;
        } else if (is_list(s)) {
            QComboBox* combo =
                kind == "owner_combo" ? new Owner_Combo(m_dialog, s, this) : new QComboBox(this);
            connect(combo, &QComboBox::activated, this, [this, id = s.id](int index) {
                run({Dialog_Action::select, id, index});
            });
            w = combo;
        } else if (is_edit(s)) {
            auto* edit = new QLineEdit(this);
            connect(edit, &QLineEdit::textEdited, this, [this, id = s.id](const QString& typed) {
                m_dialog.GetDlgItem(id)->SetWindowText(typed.toStdWString());
                settle();
            });
            w = edit;
        } else if (is_slider(s)) {
            auto* slider = new QSlider(Qt::Horizontal, this);
            slider->setTickPosition(kind == "slider_both" ? QSlider::TicksBothSides
                                                          : QSlider::TicksBelow);
            connect(slider, &QSlider::valueChanged, this, [this, &s](int value) {
                if (m_syncing)
                    return;
                s.position = value;
                after(s.id, NM_CUSTOMDRAW);
            });
            connect(slider, &QSlider::sliderReleased, this,
                    [this, id = s.id] { after(id, NM_RELEASEDCAPTURE); });
            w = slider;
        } else {
            auto* label = new QLabel(text, this);
            if (kind == "sunken_static")
                label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            w = label;
        }
        w->setGeometry(x(s.rect.x), y(s.rect.y), x(s.rect.width),
                       is_list(s) ? y(14) : y(s.rect.height));
        m_widgets.emplace(&s, w);
    }

    // The controls' states into the widgets.
    void sync() {
        m_syncing = true;
        for (auto& [state, widget] : m_widgets) {
            const Control_State& s = *state;
            widget->setEnabled(s.enabled);
            if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
                button->setText(qt(s.text));
                if (is_check(s) || is_radio(s))
                    button->setChecked(s.check != 0);
            } else if (auto* combo = dynamic_cast<QComboBox*>(widget)) {
                bool same = combo->count() == int(s.items.size());
                for (int i = 0; same && i < combo->count(); ++i)
                    same = combo->itemText(i) == qt(s.items[std::size_t(i)].text);
                if (!same) {
                    combo->clear();
                    for (const auto& item : s.items)
                        combo->addItem(qt(item.text));
                }
                combo->setCurrentIndex(s.selection);
                combo->update();
            } else if (auto* edit = dynamic_cast<QLineEdit*>(widget)) {
                edit->setMaxLength(s.limit > 0 ? s.limit : 32767);
                if (edit->text() != qt(s.text))
                    edit->setText(qt(s.text));
            } else if (auto* slider = dynamic_cast<QSlider*>(widget)) {
                slider->setRange(s.low, std::max(s.low, s.high));
                slider->setTickInterval(s.tic_frequency);
                slider->setPageStep(s.page_size);
                slider->setValue(s.position);
            } else if (auto* group = dynamic_cast<QGroupBox*>(widget)) {
                group->setTitle(qt(s.text));
            } else if (auto* label = dynamic_cast<QLabel*>(widget)) {
                label->setText(qt(s.text));
            }
        }
        m_syncing = false;
    }

    bool finish() {
        if (!m_dialog.ended())
            return false;
        done(0);
        return true;
    }
    void settle() {
        sync();
        finish();
    }
    void run(const Dialog_Action& action) {
        if (m_syncing)
            return;
        m_dialog.perform(action);
        settle();
    }
    void click(int id) {
        // The widget toggled itself; the dialog decides what its state becomes.
        run(id == IDOK       ? Dialog_Action{Dialog_Action::ok}
            : id == IDCANCEL ? Dialog_Action{Dialog_Action::cancel}
                             : Dialog_Action{Dialog_Action::click, id});
    }
    void after(int id, int code) {
        Notify_Info info;
        m_dialog.notify(id, code, &info);
        settle();
    }

    CDialog& m_dialog;
    bool m_scripted;
    bool m_syncing = false;
    double m_unit_x = 1.5, m_unit_y = 1.625;
    std::map<Control_State*, QWidget*> m_widgets;
};

// The colour picker's window: the 256 swatches of the colour index palette in a 16 x 16 grid,
// the current one framed; a click chooses.
class Swatch_Grid : public QWidget {
public:
    static constexpr int cell = 18;
    Swatch_Grid(int current, QDialog& window)
        : QWidget(&window), m_current(current), m_window(window) {
        setFixedSize(16 * cell + 1, 16 * cell + 1);
    }
    int chosen = -1;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const auto& palette = colour_index_palette();
        for (int i = 0; i < 256; ++i) {
            QRect r((i % 16) * cell, (i / 16) * cell, cell, cell);
            painter.fillRect(r.adjusted(2, 2, -2, -2),
                             colour_of(std::uint32_t(palette[std::size_t(i)])));
            painter.setPen(i == m_current ? Qt::black : Qt::gray);
            painter.drawRect(r.adjusted(1, 1, -2, -2));
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        const QPoint p = event->position().toPoint();
        const int i = p.y() / cell * 16 + p.x() / cell;
        if (i >= 0 && i < 256) {
            chosen = i;
            m_window.accept();
        }
    }

private:
    int m_current;
    QDialog& m_window;
};

void ensure_application() {
    if (QApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "vxplot";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

} // namespace

std::optional<std::filesystem::path> run_qt_file_dialog(const File_Dialog_Request& request) {
    ensure_application();
    // "Description|*.ext||" as Qt writes it: "Description (*.ext)".
    const std::wstring& f = request.filter;
    const std::size_t bar = f.find(L'|');
    QString filter =
        bar == std::wstring::npos
            ? QString()
            : QString::fromStdWString(f.substr(0, bar)) + QStringLiteral(" (") +
                  QString::fromStdWString(f.substr(bar + 1, f.find(L'|', bar + 1) - bar - 1)) +
                  QStringLiteral(")");
    const QString title = QString::fromStdWString(request.title);
    const QString name = QString::fromStdWString(request.file_name);
    QString chosen = request.open ? QFileDialog::getOpenFileName(nullptr, title, name, filter)
                                  : QFileDialog::getSaveFileName(nullptr, title, name, filter);
    if (chosen.isEmpty())
        return std::nullopt;
    return std::filesystem::path(chosen.toStdString());
}

std::optional<int> run_qt_picker(int index) {
    ensure_application();
    QDialog window;
    window.setWindowTitle(QStringLiteral("Colors"));
    auto* grid = new Swatch_Grid(index, window);
    window.setFixedSize(grid->size());
    std::optional<int> picked;
    // Queued actions: pictures of the picker, then a "pick" that chooses; anything else closes.
    std::function<void()> play = [&] {
        std::optional<Dialog_Action> action = next_dialog_action();
        if (!action)
            return;
        if (action->kind == Dialog_Action::shot) {
            window.grab().save(QString::fromStdWString(action->text));
            QTimer::singleShot(0, &window, play);
        } else if (action->kind == Dialog_Action::pick) {
            picked = action->value;
            window.accept();
        } else {
            window.reject();
        }
    };
    const bool scripted = queued_dialog_actions() > 0;
    if (scripted)
        QTimer::singleShot(0, &window, play);
    if (window.exec() == QDialog::Accepted && !picked && grid->chosen >= 0)
        picked = grid->chosen;
    return picked;
}

int run_qt_dialog(CDialog& dialog) {
    ensure_application();
    const bool scripted = queued_dialog_actions() > 0;
    Qt_Dialog window(dialog, dialog.caption(), scripted);
    window.set_size(dialog.m_template->width, dialog.m_template->height);
    QTimer::singleShot(0, &window, [&window] { window.play(); });
    window.exec();
    if (window.error)
        std::rethrow_exception(window.error);
    if (!dialog.ended())
        dialog.close_window();
    return *dialog.m_result;
}

// --- modeless windows ------------------------------------------------------------------------

namespace vxp {
namespace {

struct Status_Window {
    std::unique_ptr<QDialog> window;
    std::map<int, QLabel*> labels;
    std::vector<QProgressBar*> bars;
    unsigned template_id = 0;
};

std::map<int, Status_Window>& status_windows() {
    static auto* windows = new std::map<int, Status_Window>;
    return *windows;
}

std::string& picture_folder() {
    static std::string folder;
    return folder;
}

} // namespace

void set_window_picture_folder(const std::string& folder) {
    picture_folder() = folder;
}

bool qt_windows() {
    return use_qt();
}

void qt_open_window(int record, const Dialog_Resource* dialog) {
    ensure_application();
    Status_Window& w = status_windows()[record];
    w.window = std::make_unique<QDialog>();
    w.window->setFont(QFont(QStringLiteral("MS Sans Serif"), 9));
    const auto [unit_x, unit_y] = dialog_units(w.window->font());
    if (dialog) {
        w.template_id = dialog->id;
        w.window->setFixedSize(int(dialog->width * unit_x), int(dialog->height * unit_y));
        for (std::size_t i = 0; i < dialog->control_count; ++i) {
            const Control_Resource& c = dialog->controls[i];
            auto* label = new QLabel(w.window.get());
            label->setGeometry(int(c.x * unit_x), int(c.y * unit_y), int(c.width * unit_x),
                               int(c.height * unit_y));
            // Pictures are the resource library's bitmaps, which this platform does not draw:
            // an empty frame holds their place.
            if (c.kind && std::string(c.kind) == "picture")
                label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            else
                w.labels[c.id] = label;
        }
    }
    w.window->show();
}

void qt_update_window(int record, const Shown_Window& shown) {
    auto found = status_windows().find(record);
    if (found == status_windows().end())
        return;
    Status_Window& w = found->second;
    w.window->setWindowTitle(QString::fromStdWString(shown.caption));
    for (const auto& [id, text] : shown.item_texts)
        if (auto label = w.labels.find(id); label != w.labels.end())
            label->second->setText(QString::fromStdWString(text));
    while (w.bars.size() < shown.bars.size()) {
        const auto& b = shown.bars[w.bars.size()];
        auto* bar = new QProgressBar(w.window.get());
        bar->setGeometry(b.x, b.y, b.width, b.height);
        bar->setTextVisible(false);
        bar->show();
        w.bars.push_back(bar);
    }
    for (std::size_t i = 0; i < shown.bars.size(); ++i) {
        const auto& b = shown.bars[i];
        w.bars[i]->setRange(b.low, std::max(b.low, b.high));
        w.bars[i]->setValue(std::clamp(b.position, b.low, std::max(b.low, b.high)));
    }
    QApplication::processEvents();
}

bool qt_interactive() {
    return use_qt() && queued_dialog_actions() == 0;
}

int qt_message_box(const std::wstring& text, const std::wstring& caption, unsigned flags) {
    ensure_application();
    const bool yes_no = (flags & 0xF) == mb_yes_no, ok_cancel = (flags & 0xF) == mb_ok_cancel;
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdWString(caption),
                    QString::fromStdWString(text),
                    yes_no      ? QMessageBox::Yes | QMessageBox::No
                    : ok_cancel ? QMessageBox::Ok | QMessageBox::Cancel
                                : QMessageBox::Ok);
    switch (flags & 0xF0) {
    case mb_icon_error:
        box.setIcon(QMessageBox::Critical);
        break;
    case mb_icon_warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case mb_icon_question:
        box.setIcon(QMessageBox::Question);
        break;
    case mb_icon_information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return id_yes;
    case QMessageBox::No:
        return id_no;
    case QMessageBox::Cancel:
        return id_cancel;
    default:
        return id_ok;
    }
}

void qt_close_window(int record) {
    auto found = status_windows().find(record);
    if (found == status_windows().end())
        return;
    if (!picture_folder().empty())
        found->second.window->grab().save(QString::fromStdString(
            picture_folder() + "/" + std::to_string(found->second.template_id) + ".png"));
    status_windows().erase(found);
}

} // namespace vxp
