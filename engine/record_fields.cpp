#include "record_fields.h"

namespace {

std::int64_t address(const void* pointer) {
    return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(pointer));
}

// Consecutive 32-bit fields from `offset` on.
template <std::size_t N>
void put_all(Record_Fields& fields, int offset, const std::int32_t (&values)[N]) {
    for (std::size_t i = 0; i < N; ++i)
        fields[offset + int(i) * 4] = values[i];
}

} // namespace

Record_Fields record_fields(const Engine_Job_Record& r) {
    return {{0, r.record_kind},        {4, r.mode_c2},           {8, r.color_mode},
            {12, r.x_resolution},      {16, r.y_resolution},     {20, r.head_x_resolution},
            {24, r.head_y_resolution}, {28, r.paper_width},      {32, r.paper_length},
            {36, r.printable_width},   {40, r.printable_length}, {44, r.image_width},
            {48, r.image_length},      {52, r.reserved_52},      {56, r.first_margin},
            {60, r.media_code},        {64, r.mode_c10},         {68, r.one_68},
            {72, r.pass_flags},        {76, r.source_flags},     {80, r.reserved_80},
            {84, r.source_code},       {88, r.paper_size_code},  {92, r.all_ones_92},
            {96, r.reserved_96},       {100, r.color_inks},      {104, address(r.borderless)},
            {108, r.second_margin},    {112, r.reserved_112},    {116, address(r.adjustments)},
            {120, address(r.ink)},     {124, r.reserved_124},    {128, r.reserved_128}};
}

Record_Fields record_fields(const Engine_Borderless_Record& r) {
    return {{0, r.kind}, {4, r.reserved_4}, {8, r.reserved_8}};
}

Record_Fields record_fields(const Engine_Adjustment_Record& r) {
    return {{0, r.record_kind},  {4, r.adjustment_set}, {8, r.ink_density},
            {12, r.feed_offset}, {14, r.drying_time},   {16, r.paper_thickness},
            {18, r.suction},     {20, r.cut_method},    {24, r.reserved_24},
            {26, r.platen_gap},  {28, r.eject_roller},  {30, r.reserved_30}};
}

Record_Fields record_fields(const Engine_Ink_Record& r) {
    Record_Fields fields{{0, r.record_kind}, {4, address(r.mode_row)}, {8, r.ink_count_kind}};
    put_all(fields, 12, r.reserved);
    return fields;
}

Record_Fields record_fields(const Engine_Page_Record& r) {
    Record_Fields fields{{0, r.record_kind},
                         {4, r.color_correction},
                         {8, r.reserved_8},
                         {12, r.one_12},
                         {40, r.gamma}};
    put_all(fields, 16, r.reserved_16);
    put_all(fields, 44, r.reserved_44);
    return fields;
}

Record_Fields record_fields(const Engine_Module_Record& r) {
    return {{0, address(r.screen_module)},
            {4, address(r.conversion_module)},
            {8, address(r.table_modules)},
            {12, r.one_12},
            {16, address(reinterpret_cast<const void*>(r.output))},
            {20, r.output_context}};
}
