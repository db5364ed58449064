// The print engine's records as the engine documents them: every field under its offset in the
// engine's 32-bit layout, whatever the native layout is. Tests and the trace engine compare and
// print records this way. Pointer fields give the address (0 for null).
#pragma once

#include "host/print_engine.h"

#include <cstdint>
#include <map>

using Record_Fields = std::map<int, std::int64_t>;

Record_Fields record_fields(const Engine_Job_Record& record);
Record_Fields record_fields(const Engine_Borderless_Record& record);
Record_Fields record_fields(const Engine_Adjustment_Record& record);
Record_Fields record_fields(const Engine_Ink_Record& record);
Record_Fields record_fields(const Engine_Page_Record& record);
Record_Fields record_fields(const Engine_Module_Record& record);
