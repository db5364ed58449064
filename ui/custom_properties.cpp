#include "custom_properties.h"

#include "host/vx_language.h"
#include "name_lists.h"
#include "paper_config.h"
#include "resources/build.h"
#include "resources/resource_library.h"
#include "settings/custom_settings.h"
#include "settings/texts.h"
#include "ui_state.h"

#include <cwctype>
#include <fstream>

namespace {

constexpr unsigned custom_properties_template = 101;

// Control ids of template 101.
enum : int {
    id_change_color = 1001,
    id_media = 1002,
    id_help = 1003,
    id_draw_to_black = 1005,
    id_color_mode = 1011,
    id_gamma = 1012,
    id_quality = 1031,
    id_paper_config = 1032,
    id_import = 1033,
    id_export = 1034,
    id_photo_quality = 1037,
    id_high_speed = 1038,
    id_bothway = 1028,
};
constexpr int apply_ids[3] = {1021, 1022, 1023};
/// The colour lists of the six slots: screen colours of pairs 1 to 3, then printed colours.
constexpr int slot_ids[6] = {1004, 1006, 1007, 1008, 1009, 1010};

// Indices of settings::per_resolution.
enum Paper_Item : std::size_t {
    item_gamma,
    item_bothway,
    item_inkdensity,
    item_delaytime,
    item_feedoffset,
    item_vacuum,
    item_adjustmode,
    item_paperthick,
    item_gap,
    item_roller
};

bool is_fixed_colour(std::int32_t colour) {
    for (std::uint32_t code : settings::fixed_color_codes)
        if (std::uint32_t(colour) == code)
            return true;
    return false;
}

bool same_ignoring_case(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(wint_t(x)) == std::towlower(wint_t(y));
           });
}

// A folder as compared with another: normal form, without a trailing separator.
std::wstring folder_text(const std::filesystem::path& folder) {
    std::wstring text = folder.lexically_normal().wstring();
    while (text.size() > 1 && text.back() == L'/')
        text.pop_back();
    return text;
}

} // namespace

CDlgCustomSettings::CDlgCustomSettings(VX_Smart_Pointer<VX_Plotter_Definition> definition,
                                       vxp::Window_Handle parent)
    : CDialog(ModuleDialog(custom_properties_template)), m_definition(std::move(definition)),
      m_parent_window(parent) {
    const std::wstring white = ModuleString(3).value_or(L"");
    for (Colour_Slot& slot : m_slots)
        slot.text = white;
}

CDlgCustomSettings::~CDlgCustomSettings() = default;

const Message_Map& CDlgCustomSettings::GetMessageMap() const {
    using D = CDlgCustomSettings;
    static const Message_Map map = {
        on<&D::OnHelp>(id_help, BN_CLICKED),
        on<&D::OnHelpKey>(0, NOTIFY_HELP),
        on<&D::OnChangeColor>(id_change_color, BN_CLICKED),
        on<&D::OnDrawToBlack>(id_draw_to_black, BN_CLICKED),
        on<&D::OnApply1>(apply_ids[0], BN_CLICKED),
        on<&D::OnApply2>(apply_ids[1], BN_CLICKED),
        on<&D::OnApply3>(apply_ids[2], BN_CLICKED),
        on<&D::OnColorComboCloseUp<0>>(slot_ids[0], CBN_CLOSEUP),
        on<&D::OnColorComboCloseUp<1>>(slot_ids[1], CBN_CLOSEUP),
        on<&D::OnColorComboCloseUp<2>>(slot_ids[2], CBN_CLOSEUP),
        on<&D::OnColorComboCloseUp<3>>(slot_ids[3], CBN_CLOSEUP),
        on<&D::OnColorComboCloseUp<4>>(slot_ids[4], CBN_CLOSEUP),
        on<&D::OnColorComboCloseUp<5>>(slot_ids[5], CBN_CLOSEUP),
        on<&D::OnModeEdited>(id_color_mode, CBN_EDITCHANGE),
        on<&D::OnModeEdited>(id_color_mode, CBN_EDITUPDATE),
        on<&D::OnModeChanged>(id_color_mode, CBN_SELCHANGE),
        on<&D::OnGammaEdited>(id_gamma, CBN_EDITCHANGE),
        on<&D::OnGammaEdited>(id_gamma, CBN_EDITUPDATE),
        on<&D::OnGammaChanged>(id_gamma, CBN_SELCHANGE),
        on<&D::OnMediaEdited>(id_media, CBN_EDITCHANGE),
        on<&D::OnMediaEdited>(id_media, CBN_EDITUPDATE),
        on<&D::OnMediaChanged>(id_media, CBN_SELCHANGE),
        on<&D::OnPaperConfig>(id_paper_config, BN_CLICKED),
        on<&D::ExportDefinitions>(id_export, BN_CLICKED),
        on<&D::ImportDefinitions>(id_import, BN_CLICKED),
        on<&D::OnBothway>(id_bothway, BN_CLICKED),
        on<&D::OnHighSpeed>(id_high_speed, BN_CLICKED),
        on<&D::OnPhotoQuality>(id_photo_quality, BN_CLICKED),
    };
    return map;
}

void CDlgCustomSettings::DoDataExchange(CDataExchange* dx) {
    DDX_Check(dx, id_change_color, m_change_color);
    DDX_Check(dx, id_draw_to_black, m_draw_to_black);
    for (int k = 0; k < 3; ++k)
        DDX_Check(dx, apply_ids[k], m_apply[std::size_t(k)]);
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        DDX_Control(dx, slot_ids[i], m_slots[i].combo);
        DDX_CBString(dx, slot_ids[i], m_slots[i].text);
    }
    DDX_CBString(dx, id_color_mode, m_mode_text);
    DDX_CBString(dx, id_gamma, m_gamma_text);
    DDX_CBString(dx, id_media, m_media_text);
    // A stored colour of the picker's palette shows in "Other Colors".
    for (Colour_Slot& slot : m_slots)
        if (!is_fixed_colour(slot.colour) && ColorToIndex(slot.colour) > 0)
            slot.combo.custom_colour = slot.colour;
}

CComboBox& CDlgCustomSettings::list(int id) const {
    return *static_cast<CComboBox*>(GetDlgItem(id));
}

void CDlgCustomSettings::show_error(const wchar_t* text) {
    vxp::message_box(handle(), text, settings::g_texts.custom_properties_error,
                     vxp::mb_ok | vxp::mb_icon_error);
}

PaperSettings CDlgCustomSettings::current_values() const {
    PaperSettings values = TheCustomPropertiesState().current;
    values.gamma = m_gamma;
    values.bothway = m_bothway;
    return values;
}

void CDlgCustomSettings::refresh_paper_values(const PaperSettings& values) {
    TheCustomPropertiesState().current = values;
    m_gamma = values.gamma;
    m_bothway = values.bothway;
}

int& CDlgCustomSettings::stored_media_position() {
    return m_ink_set == 1 ? m_media_7c : m_media_4c;
}

// The defaults row of the selected paper: its number - 1, plus 32 at 720 dpi.
int CDlgCustomSettings::reset_slot() {
    return stored_media_position() + (m_ink_set == 1 ? 7 : 0) + (m_x_dpi == 720.0f ? 32 : 0);
}

float CDlgCustomSettings::other_resolution() const {
    return m_x_dpi == 360.0f ? 720.0f : 360.0f;
}

void CDlgCustomSettings::show_gamma_and_bothway() {
    list(id_gamma).SetCurSel(m_gamma);
    if (m_bothway == 1)
        CheckDlgButton(id_bothway, 1);
    else if (m_bothway == 0)
        CheckDlgButton(id_bothway, 0);
}

void CDlgCustomSettings::fill_media_list() {
    const settings::Texts& texts = settings::g_texts;
    if (m_ink_set == 1)
        fill_names(list(id_media), texts.photo_quality_media);
    else
        fill_names(list(id_media), texts.high_speed_media);
    list(id_media).SetCurSel(stored_media_position());
}

bool CDlgCustomSettings::OnInitDialog() {
    const VX_Plotter_Definition& definition = *m_definition;
    Custom_Properties_State& state = TheCustomPropertiesState();

    // The advanced definitions file beside the driver, into the per-paper store.
    Definitions_State& files = TheDefinitionsState();
    files.paths = DefinitionsPaths(vxp::native_path(RasterModuleFileName()));
    Opening_Result read =
        ReadDefinitionsAtOpening(files.paths.file, ThePaperBlockStore(), files.text,
                                 [this] { show_error(settings::g_texts.definitions_incorrect); });
    files.last_read_valid = read.file_valid;

    CDialog::OnInitDialog();

    // The configured resolution/colour/memory entry.
    auto capabilities = definition.get_plotter_capabilities();
    auto configuration = definition.get_plotter_configuration();
    auto offered = capabilities ? capabilities->get_res_color_mem_capabilities() : nullptr;
    auto chosen = configuration ? configuration->get_res_color_mem_configuration() : nullptr;
    auto entry = offered && chosen ? offered->get_entry(chosen->get_selected_index()) : nullptr;
    if (entry) {
        const std::int32_t depth = entry->color_depth();
        m_colour_output = depth == 4 || depth == 256;
        m_x_dpi = float(entry->resolution().first);
        m_y_dpi = float(entry->resolution().second);
    }

    // Colour slots: screen colours of pairs 1 to 3, then printed colours.
    const std::wstring white = ModuleString(3).value_or(L"");
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        Colour_Slot& slot = m_slots[i];
        const bool screen = i < 3;
        const settings::Key& key =
            screen ? settings::compare_color[i] : settings::swap_color[i - 3];
        slot.other_position = 0;
        slot.text = white;
        slot.combo.custom_colour = -1;
        slot.last_picked = -1;
        slot.combo.EnableWindow(false);
        slot.item = settings::find_item(definition, key.name);
        if (!slot.item)
            continue;
        slot.combo.EnableWindow(true);
        slot.colour = settings::read_long(*slot.item);
        if (screen)
            FillCompareColorCombo(slot.colour, slot.combo, slot.text);
        else
            FillSwapColorCombo(slot.colour, slot.combo, slot.text);
        slot.other_position = 8;
    }

    // The conversion switches.
    auto read_switch = [&](const settings::Key& key, int& flag,
                           VX_Smart_Pointer<VX_Custom_Config_Item>& item, int id) {
        item = settings::find_item(definition, key.name);
        if (!item)
            return;
        flag = settings::read_boolean(*item) ? 1 : 0;
        if (flag)
            CheckDlgButton(id, 1);
    };
    read_switch(settings::change_color, m_change_color, m_change_color_item, id_change_color);
    read_switch(settings::draw_to_black, m_draw_to_black, m_draw_to_black_item, id_draw_to_black);
    for (std::size_t k = 0; k < 3; ++k)
        read_switch(settings::convert_color[k], m_apply[k], m_apply_items[k], apply_ids[k]);
    apply_enable_rules();

    auto read_setting = [&](const wchar_t* key, std::int32_t fallback,
                            VX_Smart_Pointer<VX_Custom_Config_Item>& item) {
        settings::Dialog_Read r = settings::read_printer_setting(definition, key, fallback);
        item = r.item;
        return r.value;
    };
    m_device_id = read_setting(settings::device_id.name, 0, m_device_id_item);
    m_color_mode = read_setting(settings::color_correct_mode.name, 0, m_color_mode_item);

    list(id_color_mode).EnableWindow(m_colour_output);
    if (m_colour_output) {
        fill_names(list(id_color_mode), settings::g_texts.color_modes);
        list(id_color_mode).SetCurSel(m_color_mode);
    }
    SetDlgItemText(id_quality, m_x_dpi == 360.0f ? settings::g_texts.quality_fast
                                                 : settings::g_texts.quality_high);

    m_ink_set = read_setting(settings::cartridge_option.name, 0, m_cartridge_item) != 0 ? 1 : 0;
    CheckDlgButton(id_photo_quality, m_ink_set == 1);
    CheckDlgButton(id_high_speed, m_ink_set == 0);
    m_media_4c = read_setting(settings::paper_kind_4c.name, 0, m_paper_4c_item);
    m_media_7c = read_setting(settings::paper_kind_7c.name, 0, m_paper_7c_item);
    fill_media_list();

    // The per-paper values of the current resolution, gamma and bidirectional printing first.
    const settings::Resolution resolution = settings::resolution_of(m_x_dpi);
    auto read_paper = [&](Paper_Item i) {
        return read_setting(settings::per_resolution_key(i, resolution).c_str(),
                            settings::per_resolution[i].dialog_default, m_paper_items[i]);
    };
    m_gamma = read_paper(item_gamma);
    fill_names(list(id_gamma), settings::g_texts.gamma_modes);
    list(id_gamma).SetCurSel(m_gamma);
    m_bothway = read_paper(item_bothway);
    show_gamma_and_bothway();
    PaperSettings& current = state.current;
    current.adjustmode = read_paper(item_adjustmode);
    current.feedoffset = read_paper(item_feedoffset);
    current.inkdensity = read_paper(item_inkdensity);
    current.delaytime = read_paper(item_delaytime);
    current.paperthick = read_paper(item_paperthick);
    current.vacuum = read_paper(item_vacuum);
    current.gap = read_paper(item_gap);
    current.roller = read_paper(item_roller);

    state.reset_slot = reset_slot();
    UpdateData(false);
    return true;
}

// The enable rules of the colour conversion group.
void CDlgCustomSettings::apply_enable_rules() {
    const bool on = m_change_color != 0, black = m_draw_to_black != 0;
    GetDlgItem(id_draw_to_black)->EnableWindow(on);
    for (std::size_t k = 0; k < 3; ++k) {
        GetDlgItem(apply_ids[k])->EnableWindow(on && !black);
        const bool lists = on && !black && m_apply[k];
        m_slots[k].combo.EnableWindow(lists);
        m_slots[k + 3].combo.EnableWindow(lists);
    }
}

void CDlgCustomSettings::OnChangeColor() {
    m_change_color = m_change_color ? 0 : 1;
    CheckDlgButton(id_change_color, m_change_color);
    apply_enable_rules();
}

void CDlgCustomSettings::OnDrawToBlack() {
    m_draw_to_black = m_draw_to_black ? 0 : 1;
    CheckDlgButton(id_draw_to_black, m_draw_to_black);
    for (std::size_t k = 0; k < 3; ++k) {
        const bool lists = !m_draw_to_black && m_apply[k];
        GetDlgItem(apply_ids[k])->EnableWindow(!m_draw_to_black);
        m_slots[k].combo.EnableWindow(lists);
        m_slots[k + 3].combo.EnableWindow(lists);
    }
}

void CDlgCustomSettings::toggle_apply(int pair) {
    int& apply = m_apply[std::size_t(pair)];
    apply = apply ? 0 : 1;
    CheckDlgButton(apply_ids[pair], apply);
    m_slots[std::size_t(pair)].combo.EnableWindow(apply != 0);
    m_slots[std::size_t(pair) + 3].combo.EnableWindow(apply != 0);
}

void CDlgCustomSettings::colour_closed(int index) {
    Colour_Slot& slot = m_slots[std::size_t(index)];
    if (!m_definition->get_plotter_capabilities() || !m_definition->get_plotter_configuration() ||
        !slot.combo.bound() || !slot.item)
        return;
    m_scratch_colour = slot.last_picked;
    const int selected = slot.combo.GetCurSel();
    if (selected >= 0)
        slot.colour = std::int32_t(slot.combo.GetItemData(selected));
    if (selected >= 0 && selected == slot.other_position) {
        if (!m_color_dll) {
            m_color_dll = vxp::load_library(
                (TheDefinitionsState().paths.driver_directory / "color.dll").string());
            if (auto init = reinterpret_cast<int (*)()>(
                    m_color_dll ? vxp::get_proc_address(m_color_dll, "InitColorDLL") : nullptr))
                init();
        }
        using Do_Color_Dialog = int (*)(void*, int, int, int, int);
        if (auto pick = reinterpret_cast<Do_Color_Dialog>(
                m_color_dll ? vxp::get_proc_address(m_color_dll, "DoColorDialog") : nullptr)) {
            const int index_before = ColorToIndex(slot.colour);
            const int index = pick(nullptr, index_before, 256, 0, 0);
            if (index != index_before && index > 0 && index < 256) {
                slot.colour = ColorIndexPalette[std::size_t(index)];
                slot.combo.custom_colour = slot.colour;
                m_scratch_colour = slot.colour;
            }
        }
    }
    slot.combo.SetItemData(slot.other_position, std::uintptr_t(std::uint32_t(slot.colour)));
    SelectColorItem(slot.colour, slot.combo);
    slot.last_picked = m_scratch_colour;
}

void CDlgCustomSettings::OnModeEdited() {
    UpdateData(true);
}
void CDlgCustomSettings::OnModeChanged() {
    m_color_mode = list(id_color_mode).GetCurSel();
}
void CDlgCustomSettings::OnGammaEdited() {
    UpdateData(true);
    TheCustomPropertiesState().settings_committed = false;
}
void CDlgCustomSettings::OnGammaChanged() {
    m_gamma = list(id_gamma).GetCurSel();
    TheCustomPropertiesState().settings_committed = false;
}
void CDlgCustomSettings::OnMediaEdited() {
    UpdateData(true);
    TheCustomPropertiesState().settings_committed = false;
}

void CDlgCustomSettings::OnMediaChanged() {
    PaperBlockStore& store = ThePaperBlockStore();
    int& stored = stored_media_position();
    const int selected = list(id_media).GetCurSel();
    if (selected != stored)
        store.StorePaperSettings(stored, m_x_dpi, m_ink_set, current_values());
    stored = selected;
    PaperSettings values = current_values();
    store.LoadPaperSettings(stored, m_x_dpi, m_ink_set, values);
    refresh_paper_values(values);
    show_gamma_and_bothway();
    TheCustomPropertiesState().settings_committed = false;
}

void CDlgCustomSettings::switch_ink_set(int target) {
    if (m_ink_set != target) {
        PaperBlockStore& store = ThePaperBlockStore();
        store.StorePaperSettings(stored_media_position(), m_x_dpi, m_ink_set, current_values());
        PaperSettings values = current_values();
        store.LoadPaperSettings(target == 1 ? m_media_7c : m_media_4c, m_x_dpi, target, values);
        refresh_paper_values(values);
        show_gamma_and_bothway();
    }
    m_ink_set = target;
    UpdateData(true);
    fill_media_list();
    TheCustomPropertiesState().settings_committed = false;
}

void CDlgCustomSettings::OnBothway() {
    m_bothway = IsDlgButtonChecked(id_bothway) ? 1 : 0;
    UpdateData(true);
    TheCustomPropertiesState().settings_committed = false;
}

void CDlgCustomSettings::OnPaperConfig() {
    TheCustomPropertiesState().reset_slot = reset_slot();
    CDlgDetailSetting paper_config;
    if (paper_config.DoModal() == IDOK)
        TheCustomPropertiesState().settings_committed = false;
}

void CDlgCustomSettings::OnHelp() {
    _DoHtmlHelp(g_raster_build.help_file, L"html/menu02", 0);
}

void CDlgCustomSettings::OnOK() {
    auto capabilities = m_definition->get_plotter_capabilities();
    auto configuration = m_definition->get_plotter_configuration();
    if (!UpdateData(true))
        return;
    Custom_Properties_State& state = TheCustomPropertiesState();
    state.settings_committed = true;

    for (Colour_Slot& slot : m_slots) {
        slot.combo.custom_colour = slot.last_picked;
        if (!slot.item)
            continue;
        // A list without a selection (a stored code the list does not offer) keeps its code.
        const int selected = slot.combo.GetCurSel();
        settings::write_long(*slot.item, selected >= 0
                                             ? std::int32_t(slot.combo.GetItemData(selected))
                                             : slot.colour);
    }
    auto write_switch = [](const VX_Smart_Pointer<VX_Custom_Config_Item>& item, int flag) {
        if (item)
            settings::write_boolean(*item, flag != 0);
    };
    write_switch(m_change_color_item, m_change_color);
    write_switch(m_draw_to_black_item, m_draw_to_black);
    for (std::size_t k = 0; k < 3; ++k)
        write_switch(m_apply_items[k], m_apply[k]);

    const PaperSettings values = current_values();
    auto write = [](const VX_Smart_Pointer<VX_Custom_Config_Item>& item, std::int32_t value) {
        if (item)
            settings::write_long(*item, value);
    };
    write(m_device_id_item, m_device_id);
    write(m_paper_4c_item, m_media_4c);
    write(m_paper_7c_item, m_media_7c);
    write(m_paper_items[item_gamma], values.gamma);
    write(m_color_mode_item, m_color_mode);
    write(m_paper_items[item_bothway], values.bothway);
    write(m_cartridge_item, m_ink_set);
    write(m_paper_items[item_adjustmode], values.adjustmode);
    write(m_paper_items[item_feedoffset], values.feedoffset);
    write(m_paper_items[item_inkdensity], values.inkdensity);
    write(m_paper_items[item_delaytime], values.delaytime);
    write(m_paper_items[item_paperthick], values.paperthick);
    write(m_paper_items[item_vacuum], values.vacuum);
    write(m_paper_items[item_gap], values.gap);
    write(m_paper_items[item_roller], values.roller);

    PaperBlockStore& store = ThePaperBlockStore();
    store.StorePaperSettings(stored_media_position(), m_x_dpi, m_ink_set, values);
    Definitions_State& files = TheDefinitionsState();
    RewriteDefinitionsAtConfirmation(files.paths.file, store, files.text);

    // The same paper at the other resolution, into its own items.
    PaperSettings other = values;
    store.LoadPaperSettings(stored_media_position(), other_resolution(), m_ink_set, other);
    refresh_paper_values(other);
    const settings::Resolution resolution = settings::resolution_of(other_resolution());
    const Paper_Item order[] = {item_gamma,      item_bothway,   item_adjustmode, item_feedoffset,
                                item_inkdensity, item_delaytime, item_paperthick, item_vacuum,
                                item_gap,        item_roller};
    for (Paper_Item i : order) {
        m_paper_items[i] =
            settings::find_item(*m_definition, settings::per_resolution_key(i, resolution).c_str());
        write(m_paper_items[i], other.field(i));
    }
    EndDialog(IDOK);
}

void CDlgCustomSettings::OnCancel() {
    TheCustomPropertiesState().settings_committed = false;
    EndDialog(IDCANCEL);
}

void CDlgCustomSettings::ExportDefinitions() {
    const settings::Texts& texts = settings::g_texts;
    if (!TheCustomPropertiesState().settings_committed) {
        show_error(texts.export_not_committed);
        return;
    }
    auto chosen = file_dialog(nullptr, {false, texts.export_title, texts.definitions_filter,
                                        vxp::from_utf8(definitions_file_name)});
    if (!chosen)
        return;
    const Definitions_State& files = TheDefinitionsState();
    const std::filesystem::path folder = chosen->parent_path();
    if (same_ignoring_case(folder_text(folder), folder_text(files.paths.driver_directory))) {
        show_error(texts.export_folder_refused);
        return;
    }
    std::error_code ignored;
    std::filesystem::copy_file(files.paths.file, folder / definitions_file_name,
                               std::filesystem::copy_options::overwrite_existing, ignored);
}

void CDlgCustomSettings::ImportDefinitions() {
    const settings::Texts& texts = settings::g_texts;
    auto chosen =
        file_dialog(nullptr, {true, texts.import_title, texts.definitions_filter, L"*.px_"});
    if (!chosen)
        return;
    const Definitions_State& files = TheDefinitionsState();
    if (same_ignoring_case(chosen->lexically_normal().wstring(),
                           files.paths.file.lexically_normal().wstring())) {
        show_error(texts.import_own_file);
        return;
    }
    if (!same_ignoring_case(chosen->filename().wstring(), vxp::from_utf8(definitions_file_name))) {
        show_error(texts.import_wrong_kind);
        return;
    }
    std::ifstream in(*chosen, std::ios::binary);
    if (!in) {
        show_error(texts.import_unreadable);
        return;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!ValidateDefinitions(text)) {
        show_error(texts.import_incorrect);
        return;
    }
    // The definitions file is replaced whole: a failed write leaves the old one.
    vxp::write_file_atomically(files.paths.file.string(), text);
    PaperBlockStore& store = ThePaperBlockStore();
    ExtractAllPaperBlocks(text, store);
    PaperSettings values = current_values();
    store.LoadPaperSettings(stored_media_position(), m_x_dpi, m_ink_set, values);
    refresh_paper_values(values);
    show_gamma_and_bothway();
}
