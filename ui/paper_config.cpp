#include "paper_config.h"

#include "name_lists.h"
#include "resources/resource_library.h"
#include "settings/texts.h"
#include "ui_state.h"

#include <cwctype>

namespace {

constexpr unsigned paper_config_template = 133;

// Control ids of template 133.
enum : int {
    id_reset = 1031,
    id_cut = 1032,
    id_thickness = 1033,
    id_density_slider = 1034,
    id_feed = 1035,
    id_density = 1036,
    id_drying = 1037,
    id_drying_slider = 1038,
    id_feed_slider = 1039,
    id_suction_slider = 1040,
    id_gap = 1041,
    id_roller = 1042,
};

// A list filled with the names, its entry `selection` selected (an index outside the list
// selects nothing).
template <std::size_t N, std::size_t Count>
void fill_list(CComboBox& list, const std::array<settings::Fixed_Name<N>, Count>& names,
               int selection) {
    fill_names(list, names);
    list.SetCurSel(selection);
}

} // namespace

// How an edit box's text is corrected as the user types.
struct CDlgDetailSetting::Edit_Rule {
    int edit;
    std::wstring CDlgDetailSetting::*text;
    int CDlgDetailSetting::*value;
    int low, high;
    bool sign;                              ///< a leading "-" or "+" is accepted
    CSliderCtrl CDlgDetailSetting::*slider; ///< moved to the value; null for the thickness
};

CDlgDetailSetting::CDlgDetailSetting(CDialog* parent)
    : CDialog(ModuleDialog(paper_config_template), parent) {}

const Message_Map& CDlgDetailSetting::GetMessageMap() const {
    using D = CDlgDetailSetting;
    static const Message_Map map = {
        on<&D::OnResetToDefaults>(id_reset, BN_CLICKED),
        on<&D::OnCutChanged>(id_cut, CBN_SELCHANGE),
        on<&D::OnGapChanged>(id_gap, CBN_SELCHANGE),
        on<&D::OnRollerChanged>(id_roller, CBN_SELCHANGE),
        on<&D::OnListEdited>(id_cut, CBN_EDITCHANGE),
        on<&D::OnListEdited>(id_cut, CBN_EDITUPDATE),
        on<&D::OnListEdited>(id_gap, CBN_EDITCHANGE),
        on<&D::OnListEdited>(id_gap, CBN_EDITUPDATE),
        on<&D::OnListEdited>(id_roller, CBN_EDITCHANGE),
        on<&D::OnListEdited>(id_roller, CBN_EDITUPDATE),
        on<&D::OnDensityUpdate>(id_density, EN_UPDATE),
        on<&D::OnDryingUpdate>(id_drying, EN_UPDATE),
        on<&D::OnFeedUpdate>(id_feed, EN_UPDATE),
        on<&D::OnThicknessUpdate>(id_thickness, EN_UPDATE),
        on<&D::OnDensitySlider>(id_density_slider, NM_RELEASEDCAPTURE),
        on<&D::OnDensitySlider>(id_density_slider, NM_CUSTOMDRAW),
        on<&D::OnDryingSlider>(id_drying_slider, NM_RELEASEDCAPTURE),
        on<&D::OnDryingSlider>(id_drying_slider, NM_CUSTOMDRAW),
        on<&D::OnFeedSlider>(id_feed_slider, NM_RELEASEDCAPTURE),
        on<&D::OnFeedSlider>(id_feed_slider, NM_CUSTOMDRAW),
        on<&D::OnSuctionReleased>(id_suction_slider, NM_RELEASEDCAPTURE),
    };
    return map;
}

void CDlgDetailSetting::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, id_feed, m_feed_text);
    DDV_MaxChars(dx, m_feed_text, 3);
    DDX_Text(dx, id_drying, m_drying_text);
    DDV_MaxChars(dx, m_drying_text, 2);
    DDX_Text(dx, id_thickness, m_thickness_text);
    DDV_MaxChars(dx, m_thickness_text, 2);
    DDX_CBString(dx, id_cut, m_cut_text);
    DDX_CBString(dx, id_gap, m_gap_text);
    DDX_CBString(dx, id_roller, m_roller_text);
    DDX_Control(dx, id_density_slider, m_density_slider);
    DDX_Control(dx, id_drying_slider, m_drying_slider);
    DDX_Control(dx, id_feed_slider, m_feed_slider);
    DDX_Control(dx, id_suction_slider, m_suction_slider);
    DDX_Text(dx, id_density, m_density_text);
    DDV_MaxChars(dx, m_density_text, 3);
}

void CDlgDetailSetting::show(int edit, int value) {
    SetDlgItemText(edit, std::to_wstring(value));
}

void CDlgDetailSetting::set_up_sliders() {
    m_density_slider.SetRange(-50, 50, true);
    m_density_slider.SetTicFreq(50);
    m_density_slider.SetPageSize(1);
    m_density_slider.SetPos(m_density);
    show(id_density, m_density);
    m_drying_slider.SetRange(0, 50);
    m_drying_slider.SetTicFreq(1);
    m_drying_slider.SetPageSize(1);
    m_drying_slider.SetPos(m_drying);
    show(id_drying, m_drying);
    m_feed_slider.SetRange(-70, 70);
    m_feed_slider.SetTicFreq(70);
    m_feed_slider.SetPageSize(1);
    m_feed_slider.SetPos(m_feed);
    show(id_feed, m_feed);
    m_suction_slider.SetRange(0, 4);
    m_suction_slider.SetTicFreq(1);
    m_suction_slider.SetPageSize(1);
    m_suction_slider.SetPos(m_suction);
}

void CDlgDetailSetting::fill_lists() {
    const settings::Texts& texts = settings::g_texts;
    fill_list(*static_cast<CComboBox*>(GetDlgItem(id_cut)), texts.cut_methods, m_cut);
    show(id_thickness, m_thickness);
    fill_list(*static_cast<CComboBox*>(GetDlgItem(id_gap)), texts.platen_gaps, m_gap);
    fill_list(*static_cast<CComboBox*>(GetDlgItem(id_roller)), texts.eject_rollers, m_roller);
}

bool CDlgDetailSetting::OnInitDialog() {
    CDialog::OnInitDialog();
    show_values(TheCustomPropertiesState().current);
    return true;
}

void CDlgDetailSetting::OnOK() {
    if (!UpdateData(true))
        return; // stays open
    PaperSettings& current = TheCustomPropertiesState().current;
    current.adjustmode = m_cut;
    current.feedoffset = m_feed;
    current.inkdensity = m_density;
    current.delaytime = m_drying;
    current.paperthick = m_thickness;
    current.vacuum = m_suction;
    current.gap = m_gap;
    current.roller = m_roller;
    EndDialog(IDOK);
}

void CDlgDetailSetting::OnResetToDefaults() {
    const int slot = TheCustomPropertiesState().reset_slot;
    show_values(DefaultPaperSettings[slot >= 32 ? 1 : 0][std::size_t(slot % 32 % paper_count)]);
}

// The eight values of this dialog into the members and the controls (gamma and bidirectional
// printing are not this dialog's).
void CDlgDetailSetting::show_values(const PaperSettings& values) {
    m_density = values.inkdensity;
    m_drying = values.delaytime;
    m_feed = values.feedoffset;
    m_suction = values.vacuum;
    m_cut = values.adjustmode;
    m_thickness = values.paperthick;
    m_gap = values.gap;
    m_roller = values.roller;
    set_up_sliders();
    fill_lists();
}

void CDlgDetailSetting::OnCutChanged() {
    m_cut = static_cast<CComboBox*>(GetDlgItem(id_cut))->GetCurSel();
}
void CDlgDetailSetting::OnGapChanged() {
    m_gap = static_cast<CComboBox*>(GetDlgItem(id_gap))->GetCurSel();
}
void CDlgDetailSetting::OnRollerChanged() {
    m_roller = static_cast<CComboBox*>(GetDlgItem(id_roller))->GetCurSel();
}
void CDlgDetailSetting::OnListEdited() {
    UpdateData(true);
}

// The in-place correction of a number box: characters after the first non-digit are cut off, a
// number out of range becomes the nearest bound, a box that starts with anything else is
// emptied. A box being typed into (empty, or a lone sign where signs are allowed) is left alone.
// Corrections set the box's text, which brings the corrected text here again.
void CDlgDetailSetting::validate(const Edit_Rule& rule) {
    UpdateData(true);
    const std::wstring text = this->*rule.text;
    if (text.empty())
        return;
    const bool signed_start = text[0] == L'-' || text[0] == L'+';
    if (rule.sign && text.size() == 1 && signed_start)
        return;
    if (!std::iswdigit(wint_t(text[0])) && !(rule.sign && signed_start)) {
        (this->*rule.text).clear();
        UpdateData(false);
        return;
    }
    for (std::size_t i = 1; i < text.size(); ++i)
        if (!std::iswdigit(wint_t(text[i]))) {
            SetDlgItemText(rule.edit, text.substr(0, i));
            return;
        }
    const long typed = std::wcstol(text.c_str(), nullptr, 10);
    int value;
    if (!rule.slider) {
        // The paper thickness: at most 16, and 0 means 1.
        value = typed > 16 ? 16 : typed == 0 ? 1 : int(typed);
        if (value != typed)
            SetDlgItemText(rule.edit, std::to_wstring(value));
        this->*rule.value = value;
        return;
    }
    value = typed < rule.low ? rule.low : typed > rule.high ? rule.high : int(typed);
    if (value != typed)
        SetDlgItemText(rule.edit, std::to_wstring(value));
    this->*rule.value = value;
    (this->*rule.slider).SetPos(value);
    const int end = int(text.size());
    static_cast<CEdit*>(GetDlgItem(rule.edit))->SetSel(end, end);
}

void CDlgDetailSetting::OnDensityUpdate() {
    validate({id_density, &CDlgDetailSetting::m_density_text, &CDlgDetailSetting::m_density, -50,
              50, true, &CDlgDetailSetting::m_density_slider});
}
void CDlgDetailSetting::OnFeedUpdate() {
    validate({id_feed, &CDlgDetailSetting::m_feed_text, &CDlgDetailSetting::m_feed, -70, 70, true,
              &CDlgDetailSetting::m_feed_slider});
}
void CDlgDetailSetting::OnDryingUpdate() {
    validate({id_drying, &CDlgDetailSetting::m_drying_text, &CDlgDetailSetting::m_drying, 0, 50,
              false, &CDlgDetailSetting::m_drying_slider});
}
void CDlgDetailSetting::OnThicknessUpdate() {
    validate({id_thickness, &CDlgDetailSetting::m_thickness_text, &CDlgDetailSetting::m_thickness,
              1, 16, false, nullptr});
}

void CDlgDetailSetting::take_slider(CSliderCtrl& slider, int edit, std::wstring& text, int& value) {
    value = slider.GetPos();
    text = std::to_wstring(value);
    SetDlgItemText(edit, text);
}
void CDlgDetailSetting::OnDensitySlider(Notify_Info& info) {
    take_slider(m_density_slider, id_density, m_density_text, m_density);
    info.result = 0;
}
void CDlgDetailSetting::OnDryingSlider(Notify_Info& info) {
    take_slider(m_drying_slider, id_drying, m_drying_text, m_drying);
    info.result = 0;
}
void CDlgDetailSetting::OnFeedSlider(Notify_Info& info) {
    take_slider(m_feed_slider, id_feed, m_feed_text, m_feed);
    info.result = 0;
}
void CDlgDetailSetting::OnSuctionReleased() {
    m_suction = m_suction_slider.GetPos();
}
