#include "driver/job_parameters.h"
#include "engine/record_fields.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

// Every field in `expected` (by the engine's offset) has its value in `actual`.
void expect_fields(const Record_Fields& actual, const Record_Fields& expected) {
    for (auto [offset, value] : expected) {
        auto it = actual.find(offset);
        ASSERT_NE(it, actual.end()) << "no field at offset " << offset;
        EXPECT_EQ(it->second, value) << "field at offset " << offset;
    }
}

VX_Smart_Pointer<VX_Media_Configuration> media(double width_mm, double height_mm,
                                               bool option = false) {
    auto m = vx_make<VX_Media_Configuration>();
    m->set_printable_area({0, 0, width_mm - 1, height_mm - 1});
    m->set_option_flag(option);
    return m;
}

TEST(PrintModes, RowsFollowThePaperTypeAndResolution) {
    struct Case {
        std::int32_t ink_set;
        bool colour;
        int row;
        std::vector<std::pair<int, std::int32_t>> columns;
    };
    const Case cases[] = {
        {1,
         true,
         21,
         {{0, 309}, {1, 1}, {3, 6}, {4, 6}, {5, 720}, {6, 720}, {7, 720}, {9, 1}, {13, 3}}},
        {0,
         false,
         0,
         {{0, 1}, {1, 11}, {3, 1}, {4, 0}, {7, 720}, {8, 360}, {9, 3}, {11, 0}, {13, 1}}},
        {0, true, 6, {{0, 318}, {7, 360}, {8, 720}, {9, 1}, {11, 2}, {12, 1024}, {14, 100}}},
        {1, true, 0, {{7, 360}, {8, 360}, {9, 1}}},
        {1, false, 4, {{0, 305}, {4, 0}, {15, 1}}},
        {0, true, 5, {{0, 305}, {15, 1}, {5, 720}}},
        {0, true, 12, {{0, 330}, {13, 2}, {10, 2}, {16, 0}, {17, 0}}},
    };
    for (const auto& c : cases) {
        const Print_Mode_Row& row = print_mode_row(c.ink_set, c.colour, c.row);
        for (auto [column, value] : c.columns)
            EXPECT_EQ(row[std::size_t(column)], value)
                << "ink set " << c.ink_set << " colour " << c.colour << " row " << c.row << " C"
                << column;
    }
}

TEST(JobRecords, PhotoPaper10At720Dpi) {
    Raster_Job_Parameters job;
    job.m_cartridge_option = 1;
    job.m_paper_kind_7c = 10;
    job.m_dpi = 720;
    job.m_color_output = 1;
    job.m_media_index = 1;
    Engine_Job_Record record{};
    job.fill_job_record(record, *media(210, 297));
    EXPECT_EQ(job.m_mode_index, 21);
    expect_fields(record_fields(record), {{0, 6},
                                          {4, 7},
                                          {8, 6},
                                          {12, 720},
                                          {16, 720},
                                          {20, 720},
                                          {24, 720},
                                          {60, 309},
                                          {64, 2},
                                          {68, 1},
                                          {72, 1},
                                          {92, 0xFFFF},
                                          {100, 6},
                                          {88, 9},
                                          {84, 530},
                                          {76, 0x80000000},
                                          {56, 84},
                                          {108, 0}});
}

TEST(JobRecords, StandardPaper0At360DpiWithoutColour) {
    Raster_Job_Parameters job;
    job.m_dpi = 360;
    job.m_color_output = 0;
    job.m_current.bidirectional = 1;
    job.m_current.gamma = 2;
    Engine_Job_Record record{};
    job.fill_job_record(record, *media(210, 297));
    expect_fields(record_fields(record), {{8, 1}, {100, 0}, {72, 3 + 4}, {20, 720}, {24, 360}});
    Engine_Page_Record page{};
    job.fill_page_record(page);
    expect_fields(record_fields(page), {{0, 1}, {4, 0}, {8, 0}, {12, 1}, {40, 220}, {44, 0}});
    job.m_color_output = 1;
    job.m_color_correct_mode = 1;
    job.fill_page_record(page);
    expect_fields(record_fields(page), {{4, 2}});
}

TEST(JobRecords, AdjustmentValues) {
    struct Case {
        std::int32_t ink_density, suction;
        std::int64_t density_field, suction_field; // -1: left unwritten
    };
    for (auto c : {Case{0, 0, 1024, 100}, Case{-50, 1, 512, 50}, Case{50, 2, 1536, 30},
                   Case{33, 3, 1361, 10}, Case{0, 4, 1024, 6}, Case{0, 5, 1024, -1}}) {
        Raster_Job_Parameters job;
        job.m_current = {0, 0, c.suction, -70, 50, 16, 3, c.ink_density, 4, 3};
        Engine_Adjustment_Record record{};
        record.suction = -1;
        job.fill_adjustment_record(record);
        expect_fields(record_fields(record), {{0, 2},
                                              {4, 959},
                                              {8, c.density_field},
                                              {12, -70},
                                              {14, 50},
                                              {16, 16},
                                              {18, c.suction_field},
                                              {20, 3},
                                              {26, 4},
                                              {28, 3},
                                              {30, 0}});
    }
}

TEST(MediaGeometry, CataloguedAndUserDefinedSizes) {
    const std::int64_t unwritten = -7;
    struct Case {
        std::string name;
        std::int32_t source, index, dpi;
        double width_mm, height_mm;
        bool option;
        Record_Fields expected;
    };
    const Case cases[] = {
        {"user-defined roll at 720 dpi",
         0,
         12,
         720,
         100,
         50,
         false,
         {{28, 3002},
          {32, 168 + 1417},
          {36, 2834},
          {40, 1417},
          {44, 2834},
          {48, 1417},
          {52, 0},
          {56, 84},
          {108, 0},
          {88, 256},
          {84, 530},
          {76, 0x80000000}}},
        {"borderless A4 portrait at 720 dpi",
         1,
         1,
         720,
         0,
         0,
         true,
         {{28, 5952},
          {32, 8476},
          {36, 6120},
          {40, 8476},
          {56, 0},
          {108, 84},
          {88, 256},
          {84, 256},
          {76, 0x80000421}}},
        {"user-defined borderless at 360 dpi",
         1,
         10,
         360,
         100,
         50,
         false,
         {{28, 1417 - 84}, {32, 708}, {36, 1417}, {108, 42}}},
        {"letter from the tray at 360 dpi",
         3,
         0,
         360,
         0,
         0,
         true,
         {{28, 3060},
          {32, 3960},
          {36, 2976},
          {40, 3876},
          {56, 42},
          {84, 7},
          {76, 0x80000010},
          {88, 1}}},
        {"other resolutions write only the codes",
         2,
         3,
         100,
         0,
         0,
         false,
         {{28, unwritten},
          {52, unwritten},
          {56, unwritten},
          {108, unwritten},
          {88, 257},
          {84, 4},
          {76, 0x80000010}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Raster_Job_Parameters job;
        job.m_media_source = c.source;
        job.m_media_index = c.index;
        job.m_dpi = c.dpi;
        Engine_Job_Record record{};
        record.paper_width = record.reserved_52 = record.first_margin = record.second_margin =
            std::int32_t(unwritten);
        job.fill_media_geometry(c.width_mm, c.height_mm, c.option, record);
        expect_fields(record_fields(record), c.expected);
    }
}

TEST(MediaSelection, SourceAndSizeByName) {
    Raster_Job_Parameters job;
    struct Source_Case {
        const wchar_t* name;
        std::int32_t source;
    };
    for (auto c : {Source_Case{L"P2", 2}, Source_Case{L"P1", 1}, Source_Case{L"P4", 0},
                   Source_Case{L"p3", 0}, Source_Case{L"P3", 3}}) {
        job.read_media_source(c.name);
        EXPECT_EQ(job.m_media_source, c.source) << vxp::to_utf8(c.name);
    }
    struct Size_Case {
        const wchar_t* source;
        const wchar_t* size;
        std::int32_t device_id, before, after;
    };
    const Size_Case sizes[] = {
        {L"P0", L"A4_Roll_Paper_Portrait (210 x 297 mm)", 0, 5, 1},
        {L"P0", L"A4_Roll_Paper_Landscape", 0, 5, 2},
        {L"P3", L"User-100x200", 0, 0, 8},
        {L"P0", L"UserDefined plus", 0, 3, 3},
        {L"P0", L"Tabloid", 0, 4, 4},
        {L"P0", L"A4_Roll_Paper_Portrait", 7, 5, 5},
    };
    for (const auto& c : sizes) {
        job.read_media_source(c.source);
        job.m_device_id = c.device_id;
        job.m_media_index = c.before;
        job.read_media_index(c.size);
        EXPECT_EQ(job.m_media_index, c.after) << vxp::to_utf8(c.size);
    }
}

TEST(JobSettings, ReadFromTheCustomItemsAndChosenByResolution) {
    auto definition = vx_make<VX_Std_Plotter_Definition>(nullptr);
    auto configuration = vx_make<VX_Std_Plotter_Configuration>();
    auto items = vx_make<VX_Custom_Configurations>();
    configuration->set_custom_configuration(items);
    definition->set_plotter_configuration(configuration);
    auto item = [&](const wchar_t* key, std::int32_t value) {
        items->add(vx_make<VX_Custom_Config_Item>(key, vx_make<VX_Std_Long_Custom_Data>(value)));
    };
    item(L"CartrigeOpt", 1);
    item(L"PaperKindMode_7c", 9);
    item(L"InkDensity_360", -20);
    item(L"InkDensity_720", 30);
    item(L"VacuumIndex_720", 4);
    Raster_Job_Parameters job;
    job.m_paper_kind_4c = 3;
    job.m_per_dpi[0].paper_thickness = 5;
    job.read_settings(*definition);
    EXPECT_EQ(job.m_cartridge_option, 1);
    EXPECT_EQ(job.m_paper_kind_7c, 9);
    EXPECT_EQ(job.m_paper_kind_4c, 3) << "a missing item leaves the member";
    EXPECT_EQ(job.m_per_dpi[0].paper_thickness, 5);
    for (auto [dpi, density, suction] :
         {std::tuple{360, -20, 0}, std::tuple{720, 30, 4}, std::tuple{100, 30, 4}}) {
        job.m_dpi = dpi;
        job.select_resolution_values();
        EXPECT_EQ(job.m_current.ink_density, density) << dpi;
        EXPECT_EQ(job.m_current.suction, suction) << dpi;
    }
}

TEST(JobRecords, ColourOutputInkAndLinks) {
    Raster_Job_Parameters job;
    for (auto [depth, colour] : {std::pair{4, 1}, std::pair{256, 1}, std::pair{-256, 0},
                                 std::pair{-4, 0}, std::pair{-2, 0}, std::pair{8, 0}}) {
        job.read_color_output(depth);
        EXPECT_EQ(job.m_color_output, colour) << depth;
    }
    job.m_mode_index = 3;
    Engine_Ink_Record ink{};
    job.fill_ink_record(ink);
    EXPECT_EQ(ink.mode_row, &print_mode_row(0, true, 3)[1]) << "the colour table, even in mono";
    expect_fields(record_fields(ink), {{0, 1}, {8, 1}, {12, 0}, {32, 0}});

    Engine_Job_Record record{};
    Engine_Adjustment_Record adjustments{};
    for (auto [source, borderless] :
         {std::pair{0, false}, std::pair{1, true}, std::pair{3, false}}) {
        job.m_media_source = source;
        job.link_records(record, adjustments, ink);
        EXPECT_EQ(record.borderless != nullptr, borderless) << source;
        EXPECT_EQ(record.adjustments, &adjustments);
        EXPECT_EQ(record.ink, &ink);
    }
    expect_fields(record_fields(raster_borderless_record), {{0, 0x00020001}, {4, 0}, {8, 0}});
}

TEST(JobRecords, ModulePathsInCodePage1252) {
    Raster_Job_Parameters job;
    Engine_Module_Record record{};
    auto callback = +[](std::int32_t, const void*, std::int32_t) -> std::int32_t { return 1; };
    job.fill_module_record(record, L"/opt/caf\u00e9 \u20ac/drv/", callback);
    EXPECT_STREQ(record.screen_module, "/opt/caf\xe9 \x80/drv/Z_SCRN4S.DLL");
    EXPECT_STREQ(record.conversion_module, "/opt/caf\xe9 \x80/drv/Z_KVTR09.DLL");
    EXPECT_STREQ(record.table_modules[0], "/opt/caf\xe9 \x80/drv/Z_TBLA61.DLL");
    EXPECT_EQ(record.table_modules[1], nullptr);
    EXPECT_EQ(record.output, callback);
    expect_fields(record_fields(record), {{12, 1}, {20, 0}});
    job.m_cartridge_option = 1;
    job.fill_module_record(record, std::wstring(2000, L'x'), callback);
    EXPECT_EQ(std::strlen(record.table_modules[0]), 1023u) << "cut to its 1,024-byte buffer";
    job.fill_module_record(record, L"/d/", callback);
    EXPECT_STREQ(record.table_modules[0], "/d/Z_TBLA60.DLL");
}

} // namespace
