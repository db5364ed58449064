#include "job_parameters.h"

#include "settings/custom_settings.h"
#include "settings/texts.h"

#include <cstdio>
#include <cstring>

namespace {

using settings::Resolution;

// ---------------------------------------------------------------------------------------------
// Print mode tables

struct Paper_Type_Modes {
    std::int32_t media_code;                            // C0
    std::int32_t standard_c7, standard_c8, standard_c9; // at 360 dpi
    std::int32_t photo_c7, photo_c8, photo_c9;          // at 360 dpi
    std::int32_t standard_c13, photo_c13;
};

constexpr Paper_Type_Modes paper_types[] = {
    {1, 720, 360, 3, 360, 360, 1, 1, 1},   {332, 720, 360, 3, 720, 360, 3, 1, 1},
    {305, 720, 360, 3, 720, 360, 3, 1, 1}, {318, 360, 720, 1, 360, 720, 1, 1, 1},
    {306, 360, 720, 3, 360, 720, 3, 2, 2}, {274, 360, 720, 3, 360, 720, 3, 2, 2},
    {330, 360, 720, 1, 360, 720, 1, 2, 2}, {321, 0, 0, 0, 360, 720, 1, 0, 3},
    {307, 0, 0, 0, 360, 720, 1, 0, 3},     {308, 0, 0, 0, 360, 720, 1, 0, 3},
    {309, 0, 0, 0, 360, 720, 1, 0, 3},
};

constexpr Print_Mode_Row mode_row(bool photo, bool colour, int row) {
    const Paper_Type_Modes& p = paper_types[row / 2];
    bool at_720 = row % 2 == 1;
    std::int32_t c3 = photo ? 6 : 1;
    std::int32_t dpi = at_720 ? 720 : 360;
    return {p.media_code,
            photo ? 1 : 11,
            7,
            c3,
            colour ? c3 : 0,
            dpi,
            dpi,
            at_720 ? 720 : (photo ? p.photo_c7 : p.standard_c7),
            at_720 ? 720 : (photo ? p.photo_c8 : p.standard_c8),
            at_720 ? 1 : (photo ? p.photo_c9 : p.standard_c9),
            2,
            colour ? 2 : 0,
            1024,
            photo ? p.photo_c13 : p.standard_c13,
            100,
            row / 2 == 2 ? 1 : 0,
            0,
            0};
}

template <int Rows>
constexpr std::array<Print_Mode_Row, Rows> mode_table(bool photo, bool colour) {
    std::array<Print_Mode_Row, Rows> table{};
    for (int row = 0; row < Rows; ++row)
        table[row] = mode_row(photo, colour, row);
    return table;
}

constexpr auto colour_standard = mode_table<14>(false, true);
constexpr auto mono_standard = mode_table<14>(false, false);
constexpr auto colour_photo = mode_table<22>(true, true);
constexpr auto mono_photo = mode_table<22>(true, false);

// Value of an index in a value table; `fallback` for an index outside it.
template <std::size_t N>
std::int32_t table_value(const std::array<std::int32_t, N>& table, std::int32_t index,
                         std::int32_t fallback) {
    return index >= 0 && std::size_t(index) < N ? table[std::size_t(index)] : fallback;
}

constexpr std::array<std::int32_t, 5> suction_values{100, 50, 30, 10, 6};

// The module-wide path buffers of the module record.
char g_screen_module[1024];
char g_conversion_module[1024];
char g_table_module[1024];
const char* g_table_modules[2] = {g_table_module, nullptr};

void compose_module_path(char (&buffer)[1024], const std::string& directory, const char* name) {
    std::snprintf(buffer, sizeof buffer, "%s%s", directory.c_str(), name);
}

// Per-resolution keys in the engine's reading order, with the member each one fills.
constexpr std::pair<const wchar_t*, std::int32_t Per_Paper_Values::*> per_dpi_keys[] = {
    {L"GammaMode", &Per_Paper_Values::gamma},
    {L"BothSideProcess", &Per_Paper_Values::bidirectional},
    {L"CutAdjustMode", &Per_Paper_Values::cut_method},
    {L"FeedOffset", &Per_Paper_Values::feed_offset},
    {L"InkDensity", &Per_Paper_Values::ink_density},
    {L"PathDelayTime", &Per_Paper_Values::drying_time},
    {L"PaperThick", &Per_Paper_Values::paper_thickness},
    {L"VacuumIndex", &Per_Paper_Values::suction},
    {L"PlatenGapMode", &Per_Paper_Values::platen_gap},
    {L"EjectRollerMode", &Per_Paper_Values::eject_roller},
};

template <std::size_t N>
std::span<const settings::Fixed_Name<60>>
keys_of(const std::array<settings::Fixed_Name<60>, N>& list) {
    return list;
}

std::span<const settings::Fixed_Name<60>> size_keys(std::int32_t source) {
    const settings::Texts& t = settings::g_texts;
    switch (source) {
    case settings::source_roll_borderless:
        return keys_of(t.borderless_size_keys);
    case settings::source_manual_feed:
        return keys_of(t.manual_feed_size_keys);
    case settings::source_paper_tray:
        return keys_of(t.paper_tray_size_keys);
    default:
        return keys_of(t.roll_size_keys);
    }
}

} // namespace

const Engine_Borderless_Record raster_borderless_record = {0x00020001u, 0, 0};

const Print_Mode_Row& print_mode_row(std::int32_t ink_set, bool color_output, int mode_index) {
    if (ink_set != 0) {
        const auto& table = color_output ? colour_photo : mono_photo;
        return table[mode_index >= 0 && mode_index < 22 ? mode_index : mode_index & 1];
    }
    const auto& table = color_output ? colour_standard : mono_standard;
    return table[mode_index >= 0 && mode_index < 14 ? mode_index : mode_index & 1];
}

void Raster_Job_Parameters::read_settings(const VX_Plotter_Definition& definition) {
    auto read = [&](const wchar_t* key, std::int32_t& member) {
        if (auto value = settings::read_if_present(definition, key))
            member = *value;
    };
    read(settings::device_id.name, m_device_id);
    read(settings::paper_kind_4c.name, m_paper_kind_4c);
    read(settings::paper_kind_7c.name, m_paper_kind_7c);
    read(settings::color_correct_mode.name, m_color_correct_mode);
    read(settings::cartridge_option.name, m_cartridge_option);
    for (const auto& [name, member] : per_dpi_keys) {
        read((std::wstring(name) + L"_360").c_str(), m_per_dpi[0].*member);
        read((std::wstring(name) + L"_720").c_str(), m_per_dpi[1].*member);
    }
}

void Raster_Job_Parameters::select_resolution_values() {
    m_current = m_per_dpi[m_dpi == 360 ? 0 : 1];
}

void Raster_Job_Parameters::read_color_output(std::int32_t color_depth) {
    m_color_output = color_depth == 4 || color_depth == 256 ? 1 : 0;
}

void Raster_Job_Parameters::read_media_source(const VX_String& source_name) {
    m_media_source = settings::source_roll;
    for (std::size_t i = 0; i < settings::media_sources.size(); ++i)
        if (source_name == settings::media_sources[i].name)
            m_media_source = std::int32_t(i);
}

void Raster_Job_Parameters::read_media_index(const VX_String& size_name) {
    VX_String name = size_name.starts_with(L"User-") ? VX_String(L"UserDefined") : size_name;
    if (m_device_id != 0)
        return;
    auto keys = size_keys(m_media_source);
    for (std::size_t row = 0; row < keys.size(); ++row) {
        std::wstring_view key = keys[row].text;
        bool match = key == L"UserDefined" ? name == key : name.starts_with(key);
        if (match)
            m_media_index = std::int32_t(row);
    }
}

std::int32_t Raster_Job_Parameters::paper_type() const {
    std::int32_t index = photo_ink() ? m_paper_kind_7c : m_paper_kind_4c;
    return index >= 0 && index < settings::media_count(m_cartridge_option) ? index : 0;
}

void Raster_Job_Parameters::fill_job_record(Engine_Job_Record& record,
                                            const VX_Media_Configuration& media) {
    m_mode_index = 2 * paper_type() + (m_dpi == 360 ? 0 : 1);
    const Print_Mode_Row& c = print_mode_row(m_cartridge_option, m_color_output == 1, m_mode_index);
    record.record_kind = 6;
    record.mode_c2 = c[2];
    record.color_mode = c[3];
    record.x_resolution = c[5];
    record.y_resolution = c[6];
    record.head_x_resolution = c[7];
    record.head_y_resolution = c[8];
    const VX_Area& area = media.printable_area();
    fill_media_geometry(area.x_max - area.x_min + 1, area.y_max - area.y_min + 1,
                        media.option_flag(), record);
    record.media_code = c[0];
    record.mode_c10 = c[10];
    record.one_68 = 1;
    record.pass_flags = std::uint32_t(c[9]) + (m_current.bidirectional != 0 ? 4u : 0u);
    record.reserved_80 = 0;
    record.all_ones_92 = 0xFFFF;
    record.reserved_96 = 0;
    record.color_inks = c[4];
    record.reserved_112 = 0;
    record.reserved_124 = 0;
    record.reserved_128 = 0;
}

void Raster_Job_Parameters::fill_media_geometry(double width_mm, double height_mm, bool option,
                                                Engine_Job_Record& record) const {
    const auto source = static_cast<settings::Media_Source>(m_media_source);
    const settings::Media_Source_Codes& codes = settings::media_sources.at(std::size_t(source));
    auto rows = settings::media_rows(source);
    const settings::Media_Row& row =
        rows[m_media_index >= 0 && std::size_t(m_media_index) < rows.size()
                 ? std::size_t(m_media_index)
                 : 0];
    if (m_dpi == 360 || m_dpi == 720) {
        const std::int32_t s = m_dpi == 360 ? 1 : 2;
        const std::int32_t margin = settings::media_margin_360 * s;
        std::int32_t paper_width, paper_length, printable_width, printable_length;
        if (std::wcscmp(row.display_name, L"UserDefined") == 0) {
            auto w = std::int32_t(width_mm * m_dpi / 25.4);
            auto h = std::int32_t(height_mm * m_dpi / 25.4);
            paper_width = codes.borderless ? w - 2 * margin : 2 * margin + w;
            paper_length = codes.borderless ? h : 2 * margin + h;
            printable_width = w;
            printable_length = h;
        } else {
            paper_width = row.paper_width * s;
            paper_length = row.paper_length * s;
            printable_width = row.printable_width * s;
            printable_length = row.printable_length * s;
        }
        record.paper_width = paper_width;
        record.paper_length = paper_length;
        record.printable_width = printable_width;
        record.printable_length = printable_length;
        record.image_width = printable_width;
        record.image_length = printable_length;
        record.reserved_52 = 0;
        record.first_margin = codes.borderless ? 0 : margin;
        record.second_margin = codes.borderless ? margin : 0;
    }
    record.paper_size_code = row.size_code;
    record.source_code = codes.source_code;
    record.source_flags =
        codes.source_flags | (codes.option_bit && option ? settings::media_option_flag_bit : 0u);
}

void Raster_Job_Parameters::fill_adjustment_record(Engine_Adjustment_Record& record) const {
    record.record_kind = 2;
    record.adjustment_set = 959;
    record.ink_density = std::int32_t((m_current.ink_density / 100.0 + 1.0) * 1024.0);
    record.feed_offset = std::int16_t(m_current.feed_offset);
    record.drying_time = std::int16_t(m_current.drying_time);
    record.paper_thickness = std::int16_t(m_current.paper_thickness);
    if (m_current.suction >= 0 && m_current.suction < std::int32_t(suction_values.size()))
        record.suction = std::int16_t(suction_values[std::size_t(m_current.suction)]);
    record.cut_method = m_current.cut_method;
    record.platen_gap = std::int16_t(m_current.platen_gap);
    record.eject_roller = std::int16_t(m_current.eject_roller);
    record.reserved_30 = 0;
}

void Raster_Job_Parameters::fill_ink_record(Engine_Ink_Record& record) const {
    record.record_kind = 1;
    record.mode_row = &print_mode_row(m_cartridge_option, true, m_mode_index)[1];
    record.ink_count_kind = 1;
    for (auto& field : record.reserved)
        field = 0;
}

void Raster_Job_Parameters::fill_page_record(Engine_Page_Record& record) const {
    record.record_kind = 1;
    record.color_correction =
        m_color_output == 1 ? table_value(settings::color_mode_values, m_color_correct_mode, 0)
                            : print_mode_row(m_cartridge_option, false, m_mode_index)[11];
    record.reserved_8 = 0;
    record.one_12 = 1;
    for (auto& field : record.reserved_16)
        field = 0;
    // NOTE: a gamma index outside the list prints with the default gamma 1.8.
    record.gamma = table_value(settings::gamma_values, m_current.gamma, 180);
    for (auto& field : record.reserved_44)
        field = 0;
}

void Raster_Job_Parameters::fill_module_record(Engine_Module_Record& record,
                                               const VX_String& driver_directory,
                                               Engine_Output_Callback output) const {
    std::string directory = vxp::to_code_page_1252(driver_directory);
    compose_module_path(g_screen_module, directory, "Z_SCRN4S.DLL");
    compose_module_path(g_conversion_module, directory, "Z_KVTR09.DLL");
    compose_module_path(g_table_module, directory, photo_ink() ? "Z_TBLA60.DLL" : "Z_TBLA61.DLL");
    record.screen_module = g_screen_module;
    record.conversion_module = g_conversion_module;
    record.table_modules = g_table_modules;
    record.one_12 = 1;
    record.output = output;
    record.output_context = 0;
}

void Raster_Job_Parameters::link_records(Engine_Job_Record& job,
                                         const Engine_Adjustment_Record& adjustments,
                                         const Engine_Ink_Record& ink) const {
    job.borderless =
        m_media_source == settings::source_roll_borderless ? &raster_borderless_record : nullptr;
    job.adjustments = &adjustments;
    job.ink = &ink;
}
