// The tiled image. A tile is a square of m_tile x m_tile pixels stored row by row; the tile table
// holds null for a tile never written, which reads as the fill value. Writes allocate the tile and
// fill it first; fill() drops every tile. Rows are assembled from the tiles they cross.
#include "host/imvo.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace Imvo {
namespace {

// Pixel value `x` of a row in the given format.
std::uint32_t row_pixel(const std::uint8_t* row, int x, int bpp) {
    switch (bpp) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 8:
        return row[x];
    default: {
        std::uint32_t value;
        std::memcpy(&value, row + std::size_t(x) * 4, 4);
        return value;
    }
    }
}

void set_row_pixel(std::uint8_t* row, int x, int bpp, std::uint32_t value) {
    switch (bpp) {
    case 1: {
        std::uint8_t mask = std::uint8_t(0x80u >> (x & 7));
        row[x >> 3] = value & 1u ? row[x >> 3] | mask : row[x >> 3] & ~mask;
        break;
    }
    case 8:
        row[x] = std::uint8_t(value);
        break;
    default:
        std::memcpy(row + std::size_t(x) * 4, &value, 4);
        break;
    }
}

// Sets pixels from .. from + n - 1 (n > 0) of a 1-bit row, the first pixel in a byte's high bit.
void fill_bits(std::uint8_t* row, int from, int n, bool bit) {
    const int first = from >> 3, last = (from + n - 1) >> 3;
    const auto head = std::uint8_t(0xFFu >> (from & 7));
    const auto tail = std::uint8_t(0xFFu << (7 - ((from + n - 1) & 7)));
    const auto set = [&](int at, std::uint8_t mask) {
        row[at] = bit ? std::uint8_t(row[at] | mask) : std::uint8_t(row[at] & ~mask);
    };
    if (first == last) {
        set(first, head & tail);
        return;
    }
    set(first, head);
    std::memset(row + first + 1, bit ? 0xFF : 0x00, std::size_t(last - first - 1));
    set(last, tail);
}

} // namespace

int bits_for_code(int bits_code) {
    switch (bits_code) {
    case 0:
        return 1;
    case 1:
        return 8;
    case 3:
        return 32;
    default:
        return 0;
    }
}

DataModel::DataModel(int data_type, int bits_code, int bits_per_pixel)
    : m_data_type(data_type), m_bits_code(bits_code), m_bits_per_pixel(bits_per_pixel) {}
DataModel::~DataModel() = default;
bool DataModel::valid() const {
    return m_data_type == 3 && bits_for_code(m_bits_code) == m_bits_per_pixel;
}
std::unique_ptr<DataModel> DataModel::clone() const {
    return std::make_unique<DataModel>(*this);
}

RgbPaletteModel::RgbPaletteModel(const std::array<std::uint32_t, 256>& colours)
    : DataModel(3, 1, 8), m_colours(colours) {}
RgbPaletteModel::~RgbPaletteModel() = default;
std::unique_ptr<DataModel> RgbPaletteModel::clone() const {
    return std::make_unique<RgbPaletteModel>(*this);
}

RowSource::~RowSource() = default;

std::size_t row_bytes(int width, int bits_per_pixel) {
    return (std::size_t(std::max(width, 0)) * std::size_t(bits_per_pixel) + 7) / 8;
}

Image::Image(int width, int height, const DataModel& model, ImagePixel fill, int tile_code)
    : m_model(model.clone()), m_fill(fill) {
    if (width <= 0 || height <= 0 || !model.valid() || tile_code < 3 || tile_code > 8)
        return;
    m_width = width;
    m_height = height;
    m_bpp = model.bits_per_pixel();
    m_shift = tile_code + 1;
    m_tile = 1 << m_shift;
    m_tiles_x = (width + m_tile - 1) >> m_shift;
    m_tiles_y = (height + m_tile - 1) >> m_shift;
    m_tile_row_bytes = row_bytes(m_tile, m_bpp);
    m_tiles.resize(std::size_t(m_tiles_x) * std::size_t(m_tiles_y));
    m_valid = true;
}

Image::~Image() = default;

void Image::fill() {
    for (auto& tile : m_tiles)
        tile.reset();
    m_spare.clear();
}

void Image::fill_bytes(std::uint8_t* tile, std::size_t size) const {
    switch (m_bpp) {
    case 1:
        std::memset(tile, m_fill.value & 1u ? 0xFF : 0x00, size);
        break;
    case 8:
        std::memset(tile, int(m_fill.value & 0xFFu), size);
        break;
    default: {
        const std::uint32_t v = m_fill.value;
        if ((v & 0xFF) * 0x01010101u == v) { // four equal bytes: blank paper is all zero
            std::memset(tile, int(v & 0xFF), size);
            break;
        }
        for (std::size_t at = 0; at < size; at += 4)
            std::memcpy(tile + at, &v, 4);
        break;
    }
    }
}

std::uint8_t* Image::tile_for_write(int x, int y) {
    auto& tile =
        m_tiles[std::size_t(y >> m_shift) * std::size_t(m_tiles_x) + std::size_t(x >> m_shift)];
    if (!tile) {
        if (m_spare.empty()) {
            tile = std::make_unique_for_overwrite<std::uint8_t[]>(m_tile_row_bytes *
                                                                  std::size_t(m_tile));
        } else {
            tile = std::move(m_spare.back());
            m_spare.pop_back();
        }
        fill_bytes(tile.get(), m_tile_row_bytes * std::size_t(m_tile));
    }
    return tile.get();
}

const std::uint8_t* Image::tile_for_read(int x, int y) const {
    return m_tiles[std::size_t(y >> m_shift) * std::size_t(m_tiles_x) + std::size_t(x >> m_shift)]
        .get();
}

std::uint32_t Image::get(int x, int y) const {
    if (!m_valid || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    const std::uint8_t* tile = tile_for_read(x, y);
    if (!tile)
        return m_bpp == 32 ? m_fill.value : m_fill.value & (m_bpp == 1 ? 1u : 0xFFu);
    int mask = m_tile - 1;
    return row_pixel(tile + std::size_t(y & mask) * m_tile_row_bytes, x & mask, m_bpp);
}

void Image::read_row(int y, std::uint8_t* out) const {
    if (!m_valid || y < 0 || y >= m_height)
        return;
    std::size_t total = row_bytes(m_width, m_bpp);
    for (int tx = 0; tx < m_tiles_x; ++tx) {
        std::size_t offset = std::size_t(tx) * m_tile_row_bytes;
        std::size_t count = std::min(m_tile_row_bytes, total - offset);
        if (const std::uint8_t* row = tile_row(tx << m_shift, y)) {
            std::memcpy(out + offset, row, count);
            continue;
        }
        // An untouched tile's row is the fill value, written straight into the row.
        fill_bytes(out + offset, count);
    }
}

void Image::paste(const RowSource& source, int x, int y, bool transparent) {
    if (!m_valid || source.bits_per_pixel() != m_bpp)
        return;
    ImageContext context(*this, 1, 0);
    std::vector<std::uint8_t> row(row_bytes(source.width(), m_bpp));
    for (int sy = 0; sy < source.height(); ++sy) {
        if (y + sy < 0 || y + sy >= m_height)
            continue;
        source.read_row(sy, row.data());
        if (!transparent) {
            context.putRow(y + sy, x, source.width(), row.data());
            continue;
        }
        for (int sx = 0; sx < source.width(); ++sx)
            if (std::uint32_t value = row_pixel(row.data(), sx, m_bpp))
                switch (m_bpp) {
                case 1:
                    context.put1(x + sx, y + sy, value);
                    break;
                case 8:
                    context.put8(x + sx, y + sy, std::uint8_t(value));
                    break;
                default:
                    context.put32(x + sx, y + sy, value);
                    break;
                }
    }
}

const std::uint8_t* Image::tile_row(int x, int y) const {
    if (!m_valid || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return nullptr;
    const std::uint8_t* tile = tile_for_read(x, y);
    return tile ? tile + std::size_t(y & (m_tile - 1)) * m_tile_row_bytes : nullptr;
}

void Image::release_tile_row(int y) {
    if (!m_valid || y < 0 || y >= m_height)
        return;
    const std::size_t first = std::size_t(y >> m_shift) * std::size_t(m_tiles_x);
    for (std::size_t i = first; i < first + std::size_t(m_tiles_x); ++i)
        if (m_tiles[i] && m_spare.size() < std::size_t(m_tiles_x))
            m_spare.push_back(std::move(m_tiles[i]));
        else
            m_tiles[i].reset();
}

std::size_t Image::allocated_bytes() const {
    std::size_t tiles = std::count_if(m_tiles.begin(), m_tiles.end(),
                                      [](const auto& tile) { return tile != nullptr; });
    return tiles * m_tile_row_bytes * std::size_t(m_tile);
}

ImageContext::ImageContext(Image& image, int access, int flags)
    : m_image(image), m_access(access), m_flags(flags) {}
ImageContext::~ImageContext() = default;

void ImageContext::put1(int x, int y, unsigned bit) {
    Image& im = m_image;
    if (!valid() || im.m_bpp != 1 || x < 0 || y < 0 || x >= im.m_width || y >= im.m_height)
        return;
    int mask = im.m_tile - 1;
    set_row_pixel(im.tile_for_write(x, y) + std::size_t(y & mask) * im.m_tile_row_bytes, x & mask,
                  1, bit);
}

void ImageContext::put8(int x, int y, std::uint8_t index) {
    Image& im = m_image;
    if (!valid() || im.m_bpp != 8 || x < 0 || y < 0 || x >= im.m_width || y >= im.m_height)
        return;
    int mask = im.m_tile - 1;
    im.tile_for_write(x, y)[std::size_t(y & mask) * im.m_tile_row_bytes + std::size_t(x & mask)] =
        index;
}

void ImageContext::put32(int x, int y, std::uint32_t value) {
    Image& im = m_image;
    if (!valid() || im.m_bpp != 32 || x < 0 || y < 0 || x >= im.m_width || y >= im.m_height)
        return;
    int mask = im.m_tile - 1;
    std::memcpy(im.tile_for_write(x, y) + std::size_t(y & mask) * im.m_tile_row_bytes +
                    std::size_t(x & mask) * 4,
                &value, 4);
}

template <class Write>
void ImageContext::for_each_tile(int y, int x, int count, Write&& write) {
    Image& im = m_image;
    if (!valid() || y < 0 || y >= im.m_height || count <= 0)
        return;
    const int first = std::max(x, 0);
    const int last = int(std::min<long long>(std::int64_t(x) + count, im.m_width));
    const int mask = im.m_tile - 1;
    for (int column = first; column < last;) {
        const int segment_end = std::min(last, (column | mask) + 1); // end of this tile
        std::uint8_t* tile_row =
            im.tile_for_write(column, y) + std::size_t(y & mask) * im.m_tile_row_bytes;
        write(tile_row, column & mask, column, segment_end - column);
        column = segment_end;
    }
}

void ImageContext::putRow(int y, int x, int count, const std::uint8_t* data) {
    if (!data)
        return;
    const int bpp = m_image.m_bpp;
    for_each_tile(y, x, count, [&](std::uint8_t* tile_row, int from, int column, int n) {
        if (bpp == 1) {
            for (int i = 0; i < n; ++i)
                set_row_pixel(tile_row, from + i, 1, row_pixel(data, column + i - x, 1));
            return;
        }
        const std::size_t pixel_bytes = std::size_t(bpp / 8);
        std::memcpy(tile_row + std::size_t(from) * pixel_bytes,
                    data + std::size_t(column - x) * pixel_bytes, std::size_t(n) * pixel_bytes);
    });
}

void ImageContext::fillRow(int y, int x, int count, ImagePixel pixel) {
    const int bpp = m_image.m_bpp;
    for_each_tile(y, x, count, [&](std::uint8_t* tile_row, int from, int, int n) {
        switch (bpp) {
        case 1:
            fill_bits(tile_row, from, n, pixel.value & 1u);
            break;
        case 8:
            std::memset(tile_row + from, int(pixel.value & 0xFF), std::size_t(n));
            break;
        default: {
            std::uint8_t* out = tile_row + std::size_t(from) * 4;
            for (int i = 0; i < n; ++i, out += 4)
                std::memcpy(out, &pixel.value, 4);
            break;
        }
        }
    });
}

} // namespace Imvo
