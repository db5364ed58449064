#include "raster_buffer.h"

#include <algorithm>
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
    forget_fills();
    m_painter = nullptr;
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
    if (m_context && writable(row, row))
        m_context->put1(x, row, value);
}

void Raster_Buffer::put_index(int x, int row, std::uint8_t value) {
    if (m_context && writable(row, row))
        m_context->put8(x, row, value);
}

void Raster_Buffer::put_colour(int x, int row, std::uint32_t value) {
    if (m_context && writable(row, row))
        m_context->put32(x, row, value);
}

void Raster_Buffer::put_row(int row, int x, int count, const std::uint8_t* data) {
    if (m_context && writable(row, row))
        m_context->putRow(row, x, count, data);
}

// Runs go in a tile at a time. The image's pixel type decides how the bytes are read, as for
// the single-pixel writes, which ignore a write of the wrong type.
void Raster_Buffer::put_index_run(int x, int row, int count, const std::uint8_t* bytes) {
    if (m_context && m_image && m_image->bits_per_pixel() == 8 && writable(row, row))
        m_context->putRow(row, x, count, bytes);
}

void Raster_Buffer::put_colour_run(int x, int row, int count, const std::uint32_t* values) {
    // The values' bytes in memory are the pixel bytes of the image's row format.
    static_assert(std::endian::native == std::endian::little);
    if (m_context && m_image && m_image->bits_per_pixel() == 32 && writable(row, row))
        m_context->putRow(row, x, count, reinterpret_cast<const std::uint8_t*>(values));
}

void Raster_Buffer::fill_run(int x, int row, int count, std::uint32_t value) {
    if (m_context && writable(row, row))
        m_context->fillRow(row, x, count, Imvo::ImagePixel{value});
}

void Raster_Buffer::paste(const Imvo::RowSource& source, int x, int y, bool transparent) {
    if (m_image && source.height() > 0 && writable(y, y + source.height() - 1))
        m_image->paste(source, x, y, transparent);
}

void Raster_Buffer::clear() {
    // Kept fills would be painted over by the clearing: they are dropped.
    std::for_each(m_band_fills.begin(), m_band_fills.end(), [](auto& band) { band.clear(); });
    m_fills = {};
    if (m_image)
        m_image->fill();
}

void Raster_Buffer::defer_fills(Fill_Painter painter) {
    forget_fills();
    m_painter = std::move(painter);
    if (m_image)
        m_band_fills.resize(std::size_t(m_height + m_image->tile_size() - 1) /
                            std::size_t(m_image->tile_size()));
}

void Raster_Buffer::forget_fills() {
    m_fills = {};
    m_band_fills = {};
}

void Raster_Buffer::defer(std::span<const Fill_Corner> corners, std::uint32_t value, int first,
                          int last) {
    if (!m_image || !m_painter || m_height <= 0)
        return;
    first = std::clamp(first, 0, m_height - 1);
    last = std::clamp(last, 0, m_height - 1);
    const auto index = std::uint32_t(m_fills.fills.size());
    m_fills.fills.push_back(
        {std::uint32_t(m_fills.corners.size()), std::uint32_t(corners.size()), value});
    m_fills.corners.insert(m_fills.corners.end(), corners.begin(), corners.end());
    const int shift = std::countr_zero(unsigned(m_image->tile_size()));
    for (int band = first >> shift; band <= last >> shift; ++band)
        m_band_fills[std::size_t(band)].push_back(index);
}

void Raster_Buffer::settle(int row) {
    if (!m_image || m_painting || row < 0 || row >= m_height || m_band_fills.empty())
        return;
    const int size = m_image->tile_size();
    auto& fills = m_band_fills[std::size_t(row / size)];
    if (fills.empty())
        return;
    m_painting = true;
    m_paint_first = row / size * size;
    m_paint_last = std::min(m_paint_first + size, m_height) - 1;
    m_painter(m_fills, fills, m_paint_first, m_paint_last);
    m_painting = false;
    std::vector<std::uint32_t>().swap(fills);
}

void Raster_Buffer::release_band(int row) {
    if (!m_image || row < 0 || row >= m_height)
        return;
    if (!m_band_fills.empty())
        std::vector<std::uint32_t>().swap(m_band_fills[std::size_t(row / m_image->tile_size())]);
    m_image->release_tile_row(row);
}

bool Raster_Buffer::writable(int first, int last) {
    if (m_painting)
        return first >= m_paint_first && last <= m_paint_last;
    if (m_painter && m_image) {
        const int size = m_image->tile_size();
        for (int band = std::max(first, 0) / size; band <= std::min(last, m_height - 1) / size;
             ++band)
            settle(band * size);
    }
    return true;
}
