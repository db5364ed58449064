// The page image: one in-memory raster per picture, written by the drawing actions and read back
// row by row at the end of the picture. It also serves as a scratch image for image strips.
//
// Coordinates: columns from 0 at the left, rows from 0 at the top. (The drawing actions turn the
// host's upward device y into row m_page_max_y - y.) Pixel values by colour system: 8-bit palette
// index (0 = background), 32-bit R,G,B,x with black and white exchanged (0 = white), or one bit
// (1 = ink). A new or cleared image is blank paper in every system.
#pragma once

#include "host/imvo.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class Raster_Buffer {
public:
    Raster_Buffer();
    virtual ~Raster_Buffer();
    Raster_Buffer(const Raster_Buffer&) = delete;
    Raster_Buffer& operator=(const Raster_Buffer&) = delete;

    /// Deletes the context, then the image. Nothing happens on an empty buffer.
    void release();
    /// A direct image of pixel type 0 (1 bit), 1 (8 bits) or 3 (32 bits), all pixels zero; the
    /// previous image is released first. The result is not tested here: see image(), context().
    void create(int width, int height, int pixel_type, int data_type);
    /// A 256-colour palette image (colours as four bytes red, green, blue, alpha), all pixels 0.
    void create_palette_image(int width, int height, const std::array<std::uint32_t, 256>& colours);

    void put_bit(int x, int row, unsigned value);
    void put_index(int x, int row, std::uint8_t value);
    void put_colour(int x, int row, std::uint32_t value);
    /// `count` pixels of the image's own row format from column x.
    void put_row(int row, int x, int count, const std::uint8_t* data);
    void put_index_run(int x, int row, int count, const std::uint8_t* bytes);
    void put_colour_run(int x, int row, int count, const std::uint32_t* values);
    /// `count` pixels of one value (a bit, an index or a colour) from column x.
    void fill_run(int x, int row, int count, std::uint32_t value);
    /// Copies a row source in at (x, y); with `transparent`, zero source pixels are skipped.
    void paste(const Imvo::RowSource& source, int x, int y, bool transparent);
    /// Every pixel back to zero (blank paper).
    void clear();

    /// A corner of a deferred fill, in device points.
    struct Fill_Corner {
        std::int32_t x, y;
    };
    /// A filled convex polygon (a triangle, or what the host's triangles make up) whose pixels
    /// are put off until its rows are needed.
    struct Deferred_Fill {
        std::uint32_t first; ///< its first corner in Deferred_Fills::corners
        std::uint32_t count; ///< its corners, 3 or more, in order around it
        std::uint32_t value; ///< the page image value it is filled with
    };
    /// The fills kept, and their corners.
    struct Deferred_Fills {
        std::vector<Deferred_Fill> fills;
        std::vector<Fill_Corner> corners;
        std::span<const Fill_Corner> corners_of(const Deferred_Fill& fill) const {
            return {corners.data() + fill.first, fill.count};
        }
    };
    /// Writes the pixels of the deferred fills `fills.fills[band[0]]`, `fills.fills[band[1]]`, ...
    /// (in that order: later fills cover earlier ones) that fall on page rows `first` to `last`,
    /// through the buffer's ordinary writes.
    using Fill_Painter = std::function<void(
        const Deferred_Fills& fills, std::span<const std::uint32_t> band, int first, int last)>;

    /// Deferred filling, for a page that would hold many filled areas: fills handed to defer()
    /// are kept as records by band (a tile row of the image) and painted band by band when
    /// something needs their band: a write into it (so every write lands in the order it was
    /// made) or settle() before it is read. The image's memory then grows with the number of
    /// fills, and with the bands that hold other drawing, not with the area filled. Ends with
    /// release() or create().
    void defer_fills(Fill_Painter painter);
    bool deferring() const { return bool(m_painter); }
    /// Keeps a convex polygon filled with `value` whose pixels lie on page rows `first` to `last`
    /// (clipped to the image).
    void defer(std::span<const Fill_Corner> corners, std::uint32_t value, int first, int last);
    /// Paints the fills kept for the band holding `row`: its rows then hold their final pixels.
    void settle(int row);
    /// Releases the pixels of the band holding `row`, for a reader that is done with it (they
    /// read as blank paper again).
    void release_band(int row);

    int width() const { return m_width; }
    int height() const { return m_height; }
    /// The image, or null when there is none.
    Imvo::Image* image() const { return m_image.get(); }
    /// The write context, or null when there is none.
    Imvo::ImageContext* context() const { return m_context.get(); }

private:
    void build(int width, int height, const Imvo::DataModel& model);
    /// Before a write to rows first..last: settles their bands, or while a band is being painted,
    /// tells whether the rows lie in it (writes outside it are dropped).
    bool writable(int first, int last);
    void forget_fills();

    int m_width = 0;
    int m_height = 0;
    std::unique_ptr<Imvo::DataModel> m_data_model; ///< only while the image is being created
    std::unique_ptr<Imvo::Image> m_image;
    std::unique_ptr<Imvo::ImageContext> m_context;

    Fill_Painter m_painter;
    Deferred_Fills m_fills;
    std::vector<std::vector<std::uint32_t>> m_band_fills; ///< per band: indices into m_fills
    bool m_painting = false;
    int m_paint_first = 0, m_paint_last = -1; ///< the rows of the band being painted
};
