// The page output of the device: module-wide state shared by begin_picture, end_picture, the
// engine's output callback, the copy spool and the status window.
#pragma once

#include "host/print_engine.h"
#include "platform/vxplatform.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class RASTER_Driver;

/// The print engine, loaded from the driver directory with its entry points.
class Engine_Module {
public:
    /// Loads the engine; loaded() tells whether it worked.
    explicit Engine_Module(const std::wstring& driver_directory);
    ~Engine_Module();
    Engine_Module(const Engine_Module&) = delete;
    Engine_Module& operator=(const Engine_Module&) = delete;
    bool loaded() const { return m_module != nullptr; }

    Engine_InitJob init_job = nullptr;
    Engine_InitPage init_page = nullptr;
    Engine_BandOut band_out = nullptr;
    Engine_TerminatePage terminate_page = nullptr;
    Engine_DestroyJob destroy_job = nullptr;
    Engine_ResetJob reset_job = nullptr;
    Engine_TerminatePageEx terminate_page_ex = nullptr;

private:
    vxp::Module_Handle m_module = nullptr;
};

/// The copy spool: the first copy's printer data, recorded chunk by chunk for the replay of the
/// further copies.
struct Copy_Spool {
    int file = -1;                    ///< descriptor, -1 when none
    std::string path;                 ///< removed when the job ends
    std::vector<std::int32_t> chunks; ///< bytes per chunk; empty when there is no table
    std::int32_t current = 0;         ///< current chunk number
    std::int64_t total = 0;           ///< bytes of the closed chunks
    std::int32_t largest = 0;         ///< largest chunk
    bool has_table() const { return !chunks.empty(); }
    /// Adds the bytes to the file and to the current chunk.
    void record(const void* data, std::int32_t length);
    /// Closes the current chunk and starts the next.
    void close_chunk();
    /// Closes and removes the file, frees the table.
    void release();
};

/// The Print Spool Status window and its progress counting.
struct Status_Window {
    std::unique_ptr<vxp::Modeless_Window> window;
    int copies_bar = -1, rows_bar = -1;
    double row_counter = 0, row_step = 0;
    std::int32_t copies = 1;
    void open(unsigned template_id, std::int32_t copies, std::int32_t page_max_y);
    /// One row of the row loop or one chunk of a replay.
    void advance();
    /// A replayed copy starts: the rows bar counts the chunks.
    void start_replay(std::int32_t last_chunk);
    void close();
};

struct Page_Output_State {
    Copy_Spool spool;
    Status_Window status;
};
Page_Output_State& page_output_state();

/// The engine's output callback: forwards to the current output driver and records for copies.
std::int32_t raster_engine_output(std::int32_t context, const void* data, std::int32_t length);

/// Converts one page-image row into `width` engine pixels (R, G, B, 0). 24 bits: R, G, B, x with
/// the page's black/white exchange undone, grey (30 R + 59 G + 11 B) / 100 for unequal components
/// when `grey`; 8 bits: through the index colour table; 1 bit: a set bit (leftmost pixel in the
/// highest bit) is black, a clear one white.
/// `index_pixels` holds the engine pixel of each of the 256 indices (index_engine_pixels()); it
/// is only read for 8-bit rows.
void convert_engine_row(const std::uint8_t* in, int bits_per_pixel, bool grey, std::int32_t width,
                        std::uint8_t* out, const std::array<std::uint32_t, 256>& index_pixels);
/// The engine pixels of the index colour table's entries.
std::array<std::uint32_t, 256> index_engine_pixels();

/// The text of an engine error code.
std::wstring engine_error_text(std::int32_t code);
