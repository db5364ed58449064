#include "raster_buffer.h"

#include <bit>

namespace {

// Image codes of the imaging library.
constexpr int tile_code = Imvo::Image::tile_code_default;
constexpr int access_write = 1;
constexpr int context_flags = 4;

} // namespace

Raster_Buffer::Raster_Buffer() = default;
Raster_Buffer::~Raster_Buffer() {
    release();
}

void Raster_Buffer::release() {
    m_context.reset();
    m_image.reset();
    m_data_model.reset();
}

void Raster_Buffer::build(int width, int height, const Imvo::DataModel& model) {
    m_width = width;
    m_height = height;
    Imvo::ImagePixel zero{0};
    m_image = std::make_unique<Imvo::Image>(width, height, model, zero, tile_code);
    m_image->set_fill(zero);
    m_image->fill();
    m_data_model.reset();
    m_context = std::make_unique<Imvo::ImageContext>(*m_image, access_write, context_flags);
}

void Raster_Buffer::create(int width, int height, int pixel_type, int data_type) {
    release();
    m_data_model =
        std::make_unique<Imvo::DataModel>(data_type, pixel_type, Imvo::bits_for_code(pixel_type));
    build(width, height, *m_data_model);
}

void Raster_Buffer::create_palette_image(int width, int height,
                                         const std::array<std::uint32_t, 256>& colours) {
    release();
    m_data_model = std::make_unique<Imvo::RgbPaletteModel>(colours);
    build(width, height, *m_data_model);
}

void Raster_Buffer::put_bit(int x, int row, unsigned value) {
    if (m_context)
        m_context->put1(x, row, value);
}

void Raster_Buffer::put_index(int x, int row, std::uint8_t value) {
    if (m_context)
        m_context->put8(x, row, value);
}

void Raster_Buffer::put_colour(int x, int row, std::uint32_t value) {
    if (m_context)
        m_context->put32(x, row, value);
}

void Raster_Buffer::put_row(int row, int x, int count, const std::uint8_t* data) {
    if (m_context)
        m_context->putRow(row, x, count, data);
}

// Runs go in a tile at a time. The image's pixel type decides how the bytes are read, as for
// the single-pixel writes, which ignore a write of the wrong type.
void Raster_Buffer::put_index_run(int x, int row, int count, const std::uint8_t* bytes) {
    if (m_context && m_image && m_image->bits_per_pixel() == 8)
        m_context->putRow(row, x, count, bytes);
}

void Raster_Buffer::put_colour_run(int x, int row, int count, const std::uint32_t* values) {
    // The values' bytes in memory are the pixel bytes of the image's row format.
    static_assert(std::endian::native == std::endian::little);
    if (m_context && m_image && m_image->bits_per_pixel() == 32)
        m_context->putRow(row, x, count, reinterpret_cast<const std::uint8_t*>(values));
}

void Raster_Buffer::fill_run(int x, int row, int count, std::uint32_t value) {
    if (m_context)
        m_context->fillRow(row, x, count, Imvo::ImagePixel{value});
}

void Raster_Buffer::paste(const Imvo::RowSource& source, int x, int y, bool transparent) {
    if (m_image)
        m_image->paste(source, x, y, transparent);
}

void Raster_Buffer::clear() {
    if (m_image)
        m_image->fill();
}
