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
#include <memory>

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

    int width() const { return m_width; }
    int height() const { return m_height; }
    /// The image, or null when there is none.
    Imvo::Image* image() const { return m_image.get(); }
    /// The write context, or null when there is none.
    Imvo::ImageContext* context() const { return m_context.get(); }

private:
    void build(int width, int height, const Imvo::DataModel& model);

    int m_width = 0;
    int m_height = 0;
    std::unique_ptr<Imvo::DataModel> m_data_model; ///< only while the image is being created
    std::unique_ptr<Imvo::Image> m_image;
    std::unique_ptr<Imvo::ImageContext> m_context;
};
