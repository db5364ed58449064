// Imvo: the host's imaging library. Images of 1, 8 (palette) and 32 bits per pixel, written pixel
// by pixel or row by row through an ImageContext and read back row by row through a RowProvider.
//
// Images are tiled: the pixels live in square tiles that are allocated only when something is
// written into them. An untouched tile reads as the image's fill value, so a blank A0 page at
// 720 dpi in true colour (23,400 x 33,100 pixels, 3 GB dense) costs the tile table only, and a
// page with a drawn border costs the tiles along the border. Filling the whole image drops every
// tile. Rows are read back tile row by tile row.
//
// Pixel formats in memory and in rows: 1 bit per pixel, the leftmost pixel in the highest bit of a
// byte; 8 bits per pixel, one palette index per byte; 32 bits per pixel, four bytes per pixel in
// the order the writer gave them (put32 stores the value's bytes little-endian: 0xAABBGGRR is
// RR GG BB AA).
#pragma once

#include "vx_object.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace Imvo {

/// How pixels are stored: the data type (3 = unsigned bytes, the only one offered), the bits code
/// (0 = 1 bit, 1 = 8 bits, 3 = 32 bits) and the bits per pixel that code means.
class VX_API DataModel {
public:
    DataModel(int data_type, int bits_code, int bits_per_pixel);
    virtual ~DataModel();
    int data_type() const { return m_data_type; }
    int bits_code() const { return m_bits_code; }
    int bits_per_pixel() const { return m_bits_per_pixel; }
    /// Whether the codes name a format the library offers.
    bool valid() const;
    /// The palette of a palette model; null for direct pixels.
    virtual const std::array<std::uint32_t, 256>* palette() const { return nullptr; }
    virtual std::unique_ptr<DataModel> clone() const;

private:
    int m_data_type, m_bits_code, m_bits_per_pixel;
};

/// 8-bit pixels that index 256 colours, each four bytes red, green, blue, alpha (0xAABBGGRR).
class VX_API RgbPaletteModel : public DataModel {
public:
    explicit RgbPaletteModel(const std::array<std::uint32_t, 256>& colours);
    ~RgbPaletteModel() override;
    const std::array<std::uint32_t, 256>* palette() const override { return &m_colours; }
    std::unique_ptr<DataModel> clone() const override;

private:
    std::array<std::uint32_t, 256> m_colours;
};

/// One pixel value of a model's pixel type (the low 1, 8 or 32 bits count).
struct ImagePixel {
    std::uint32_t value = 0;
};

/// Rows that can be pasted into an image.
class VX_API RowSource {
public:
    virtual ~RowSource();
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual int bits_per_pixel() const = 0;
    /// Copies row `y` (0 at the top) into `out`, which holds row_bytes(width, bpp) bytes.
    virtual void read_row(int y, std::uint8_t* out) const = 0;
};

/// Bits per pixel of a bits code (0: 1, 1: 8, 3: 32); 0 for a code the library does not offer.
VX_API int bits_for_code(int bits_code);

/// Bytes of a row of `width` pixels.
VX_API std::size_t row_bytes(int width, int bits_per_pixel);

/// Rows are read back through the same interface: an Image is the row provider of its pixels.
using RowProvider = RowSource;

/// A tiled image.
class VX_API Image : public RowSource {
public:
    /// NOTE: tile size code 5 means tiles of 64 x 64 pixels (16 KiB at 32 bits): a border line
    /// around an A0 page at 720 dpi touches about 1,800 of them (28 MB).
    static constexpr int tile_code_default = 5;

    /// An image of `width` x `height` pixels of the model's type, every pixel `fill`. An image
    /// whose size or model cannot be had reports itself invalid and ignores writes.
    Image(int width, int height, const DataModel& model, ImagePixel fill, int tile_code);
    ~Image() override;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    bool valid() const { return m_valid; }
    int width() const override { return m_width; }
    int height() const override { return m_height; }
    int bits_per_pixel() const override { return m_bpp; }
    const DataModel& model() const { return *m_model; }
    int tile_size() const { return m_tile; }

    /// Sets the value untouched pixels read as (used by the next fill).
    void set_fill(ImagePixel fill) { m_fill = fill; }
    /// Every pixel becomes the fill value; all tiles are released.
    void fill();
    /// Pixel (x, y), 0 outside the image.
    std::uint32_t get(int x, int y) const;
    /// Copies the source into the image with its top-left pixel at (x, y), clipped to the image;
    /// with `transparent`, source pixels of value 0 are skipped. Bits per pixel must match.
    void paste(const RowSource& source, int x, int y, bool transparent);
    void read_row(int y, std::uint8_t* out) const override;
    /// Releases the tiles of the tile row holding row y: its rows read as the fill value again.
    /// Lets a reader that is done with rows give their memory back. Up to a tile row's worth of
    /// them is kept for the next tiles written, so that a reader going down the page while
    /// rows are drawn ahead of it reuses the same memory.
    void release_tile_row(int y);
    /// Bytes held by allocated tiles (the tiles kept for reuse not counted).
    std::size_t allocated_bytes() const;
    /// Row y of the tile holding column x, in the image's pixel format starting at the tile's
    /// first column (x rounded down to a multiple of tile_size()); null when that tile was never
    /// written, so it reads as the fill value. Lets a reader skip untouched tiles.
    const std::uint8_t* tile_row(int x, int y) const;

private:
    friend class ImageContext;
    std::uint8_t* tile_for_write(int x, int y);
    const std::uint8_t* tile_for_read(int x, int y) const;
    /// Writes the fill value over `size` bytes (whole pixels; a 1-bit fill is whole bytes).
    void fill_bytes(std::uint8_t* bytes, std::size_t size) const;

    bool m_valid = false;
    int m_width = 0, m_height = 0, m_bpp = 0;
    int m_tile = 64, m_shift = 6;
    int m_tiles_x = 0, m_tiles_y = 0;
    std::size_t m_tile_row_bytes = 0;
    std::unique_ptr<DataModel> m_model;
    ImagePixel m_fill;
    std::vector<std::unique_ptr<std::uint8_t[]>> m_tiles;
    std::vector<std::unique_ptr<std::uint8_t[]>> m_spare; ///< released tiles, for reuse
};

/// Writes pixels into an image. Writes outside the image are ignored.
class VX_API ImageContext {
public:
    /// Opens the image for writing (access code 1 = write; `flags` is kept for the host's use).
    ImageContext(Image& image, int access, int flags);
    ~ImageContext();
    bool valid() const { return m_image.valid() && m_access == 1; }
    void put1(int x, int y, unsigned bit);
    void put8(int x, int y, std::uint8_t index);
    void put32(int x, int y, std::uint32_t value);
    /// `count` pixels from `data` (the image's own row format, starting at bit or byte 0) into
    /// row y from column x.
    void putRow(int y, int x, int count, const std::uint8_t* data);
    /// `count` pixels of one value into row y from column x: a tile at a time, so a long run
    /// costs a fill per tile, not a call per pixel.
    void fillRow(int y, int x, int count, ImagePixel pixel);

private:
    /// Runs `write(tile_row, first, column, n)` for each tile that row y's columns x to
    /// x + count - 1 (clipped to the image) cross: the tile's row, the first tile column written,
    /// the image column it is, and how many columns.
    template <class Write>
    void for_each_tile(int y, int x, int count, Write&& write);

    Image& m_image;
    int m_access;
    int m_flags;
};

} // namespace Imvo
