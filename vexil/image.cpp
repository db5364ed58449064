// The renderer's standard image routine and the PNG image source.
#include "host/vx_image.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <unordered_map>

namespace {

// Dark pixels are those below half brightness (integer Rec. 601 luma).
bool dark(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return red * 299 + green * 587 + blue * 114 < 128 * 1000;
}

// A pixel as 0xAARRGGBB from a shared image of pixels.
std::uint32_t argb_at(const VX_Shared_Image& image, const VX_Palette* palette, int x, int y) {
    const std::uint8_t* row = image.pixels + std::size_t(y) * std::size_t(image.stride);
    switch (image.kind) {
    case vx_image_rgb32: {
        std::uint32_t value;
        std::memcpy(&value, row + std::size_t(x) * 4, 4);
        return value;
    }
    case vx_image_index8: {
        VX_Palette::Entry e = palette ? palette->get_entry(row[x]) : VX_Palette::Entry{};
        return 0xFF000000u | std::uint32_t(e.red) << 16 | std::uint32_t(e.green) << 8 | e.blue;
    }
    default: {
        bool set = (row[x / 8] >> (7 - x % 8)) & 1;
        bool is_dark = image.bitonal_format == 3 ? set : !set;
        return is_dark ? 0xFF000000u : 0xFFFFFFFFu;
    }
    }
}

// The nearest of a list of red, green, blue triples by squared distance, remembered per colour.
class Nearest_Colour {
public:
    Nearest_Colour(const std::uint8_t* triples, int count) : m_triples(triples), m_count(count) {}
    std::uint8_t operator()(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        const std::uint32_t key = std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | b;
        auto found = m_cache.find(key);
        if (found != m_cache.end())
            return found->second;
        return m_cache[key] = std::uint8_t(vx_nearest_colour(m_triples, m_count, r, g, b));
    }

private:
    const std::uint8_t* m_triples;
    int m_count;
    std::unordered_map<std::uint32_t, std::uint8_t> m_cache;
};

} // namespace

int vx_nearest_colour(const std::uint8_t* triples, int count, std::uint8_t red, std::uint8_t green,
                      std::uint8_t blue) {
    int best = 0;
    long best_distance = -1;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* e = triples + 3 * i;
        long distance = long(e[0] - red) * (e[0] - red) + long(e[1] - green) * (e[1] - green) +
                        long(e[2] - blue) * (e[2] - blue);
        if (best_distance < 0 || distance < best_distance) {
            best_distance = distance;
            best = i;
        }
    }
    return best;
}

std::vector<std::uint8_t> vx_palette_triples(const VX_Palette& palette) {
    std::vector<std::uint8_t> triples;
    for (int i = 0; i < std::max(palette.used(), 1); ++i) {
        VX_Palette::Entry e = palette.get_entry(i);
        triples.insert(triples.end(), {e.red, e.green, e.blue});
    }
    return triples;
}

void VD_Standard_Draw_DCI_Image(VX_Renderer_Data* device, const VX_Rendition& rendition,
                                const VX_DCI_Point& point, const VX_Shared_Image& image) {
    if (!device || image.kind == vx_image_source || !image.pixels || image.columns < 1 ||
        image.rows < 1 || image.stride < 1)
        return;
    const std::int32_t system = device->device_options().color_system;
    const int action_number = system == 1   ? vx_action_rgb32_image
                              : system == 0 ? vx_action_index8_image
                                            : vx_action_bitonal_image;
    VX_Action action = device->actions().get(action_number);
    if (!action.enabled || !action.routine)
        return;
    const VX_Palette* palette = device->renderer_options().palette.get();
    const int w = image.columns, h = image.rows;
    const VX_DCI_Point first = point;
    const VX_DCI_Point second{point.x + w - 1, point.y - h + 1, point.z};

    if (system == 1) {
        std::vector<std::uint32_t> pixels(std::size_t(w) * std::size_t(h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                pixels[std::size_t(y) * w + x] = argb_at(image, palette, x, y);
        reinterpret_cast<VX_Image_Action>(action.routine)(
            device, rendition, first, second, w * 4,
            reinterpret_cast<const std::uint8_t*>(pixels.data()));
    } else if (system == 0) {
        std::vector<std::uint8_t> triples;
        if (palette)
            triples = vx_palette_triples(*palette);
        Nearest_Colour nearest(triples.data(), int(triples.size() / 3));
        std::vector<std::uint8_t> pixels(std::size_t(w) * std::size_t(h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::uint32_t c = argb_at(image, palette, x, y);
                pixels[std::size_t(y) * w + x] =
                    image.kind == vx_image_index8
                        ? image.pixels[std::size_t(y) * image.stride + x]
                        : nearest(std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c));
            }
        reinterpret_cast<VX_Image_Action>(action.routine)(device, rendition, first, second, w,
                                                          pixels.data());
    } else {
        // Bits in the renderer's current format: 3 sets dark pixels, 1 sets light ones.
        const std::int32_t format = device->device_options().bitonal_format;
        const int stride = (w + 7) / 8;
        std::vector<std::uint8_t> bits(std::size_t(stride) * std::size_t(h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::uint32_t c = argb_at(image, palette, x, y);
                bool is_dark = dark(std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c));
                if (is_dark == (format == 3))
                    bits[std::size_t(y) * stride + x / 8] |= std::uint8_t(0x80 >> (x % 8));
            }
        reinterpret_cast<VX_Bitonal_Action>(action.routine)(device, rendition, first, second,
                                                            stride, bits.data(), &format);
    }
}

namespace {

struct Png_Reader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~Png_Reader() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

[[noreturn]] void unreadable(const std::string& path, const std::string& why) {
    throw VX_Error(nullptr, vx_msg_image_unreadable, "VX_Png_Image", path + ": " + why, "");
}

} // namespace

VX_Png_Image::VX_Png_Image(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        unreadable(path, std::strerror(errno));
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(file, std::fclose);
    png_byte signature[8];
    if (std::fread(signature, 1, 8, file) != 8 || png_sig_cmp(signature, 0, 8) != 0)
        unreadable(path, "not a PNG file");

    Png_Reader reader;
    reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    reader.info = reader.png ? png_create_info_struct(reader.png) : nullptr;
    if (!reader.info)
        unreadable(path, "out of memory");
    std::vector<png_bytep> rows;
    // libpng reports a damaged file by jumping back here from its own C frames, so no destructor
    // is skipped; the exception then unwinds this frame normally.
    if (setjmp(png_jmpbuf(reader.png)))
        unreadable(path, "damaged PNG data");
    png_init_io(reader.png, file);
    png_set_sig_bytes(reader.png, 8);
    png_set_user_limits(reader.png, 65536, 65536);
    png_read_info(reader.png, reader.info);
    png_set_expand(reader.png);
    png_set_strip_16(reader.png);
    png_set_gray_to_rgb(reader.png);
    png_set_add_alpha(reader.png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(reader.png);
    png_read_update_info(reader.png, reader.info);
    m_width = int(png_get_image_width(reader.png, reader.info));
    m_height = int(png_get_image_height(reader.png, reader.info));
    if (png_get_rowbytes(reader.png, reader.info) != std::size_t(m_width) * 4)
        unreadable(path, "unexpected pixel layout");
    m_pixels.resize(std::size_t(m_width) * std::size_t(m_height) * 4);
    rows.resize(std::size_t(m_height));
    for (int y = 0; y < m_height; ++y)
        rows[std::size_t(y)] = m_pixels.data() + std::size_t(y) * m_width * 4;
    png_read_image(reader.png, rows.data());
    png_read_end(reader.png, nullptr);

    m_source.x0 = 0;
    m_source.y0 = 0;
    m_source.x1 = m_width - 1;
    m_source.y1 = m_height - 1;
    m_source.fetch = &VX_Png_Image::fetch;
    m_source.release = &VX_Png_Image::release;
    m_source.user = reinterpret_cast<std::intptr_t>(this);
}

VX_Png_Image::~VX_Png_Image() = default;

void VX_Png_Image::resize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    std::vector<std::uint8_t> pixels(std::size_t(width) * std::size_t(height) * 4);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = row(int(std::int64_t(y) * m_height / height));
        std::uint8_t* out = pixels.data() + std::size_t(y) * width * 4;
        for (int x = 0; x < width; ++x)
            std::memcpy(out + 4 * x, in + 4 * (std::int64_t(x) * m_width / width), 4);
    }
    m_pixels = std::move(pixels);
    m_width = width;
    m_height = height;
    m_source.x1 = width - 1;
    m_source.y1 = height - 1;
}

VX_Image_Strip* VX_Png_Image::fetch(VX_Strip_Request* request, std::intptr_t user, std::int32_t*) {
    auto* self = reinterpret_cast<VX_Png_Image*>(user);
    if (!request || self->m_strips_out > 0)
        return nullptr; // one strip at a time
    self->serve(*request);
    ++self->m_strips_out;
    return &self->m_strip;
}

void VX_Png_Image::release(VX_Image_Strip* strip, std::intptr_t user, std::int32_t) {
    auto* self = reinterpret_cast<VX_Png_Image*>(user);
    if (strip == &self->m_strip && self->m_strips_out > 0)
        --self->m_strips_out;
}

// Fills m_strip with the requested rows; a request outside the image or at a depth not offered
// gets a strip with a failure status.
void VX_Png_Image::serve(const VX_Strip_Request& q) {
    m_strip = VX_Image_Strip{};
    const int x0 = q.x0, x1 = q.x1, low = q.y0, high = q.y1;
    const int bpp = q.bits_per_pixel;
    if (x0 < 0 || x1 >= m_width || x0 > x1 || low < 0 || high >= m_height || low > high ||
        (bpp != 32 && bpp != 8 && bpp != 2 && bpp != 1) || (bpp == 8 && !q.colours)) {
        m_strip.status[0] = 1;
        return;
    }
    const int w = x1 - x0 + 1, n = high - low + 1;
    const std::size_t stride = bpp == 32  ? std::size_t(w) * 4
                               : bpp == 1 ? (std::size_t(w) + 7) / 8
                                          : std::size_t(w);
    m_strip_data.assign(stride * std::size_t(n), 0);
    std::uint16_t light_index, dark_index;
    std::memcpy(&light_index, q.background, 2);
    std::memcpy(&dark_index, q.foreground, 2);
    Nearest_Colour nearest(q.colours, bpp == 8 ? 256 : 0);

    for (int i = 0; i < n; ++i) {
        // Strip row 0 is the highest source row asked for; source row y is image row
        // height - 1 - y (the source counts rows upward).
        const std::uint8_t* in = row(m_height - 1 - (high - i)) + std::size_t(x0) * 4;
        std::uint8_t* out = m_strip_data.data() + std::size_t(i) * stride;
        for (int j = 0; j < w; ++j, in += 4) {
            const unsigned alpha = in[3];
            // Partly transparent pixels are composed over the paper colour (white unless the
            // request names another).
            const std::uint8_t paper[3] = {bpp == 32 ? q.background[0] : std::uint8_t(255),
                                           bpp == 32 ? q.background[1] : std::uint8_t(255),
                                           bpp == 32 ? q.background[2] : std::uint8_t(255)};
            std::uint8_t c[3];
            for (int k = 0; k < 3; ++k)
                c[k] = std::uint8_t((in[k] * alpha + paper[k] * (255 - alpha) + 127) / 255);
            switch (bpp) {
            case 32:
                out[4 * j + 0] = c[0];
                out[4 * j + 1] = c[1];
                out[4 * j + 2] = c[2];
                out[4 * j + 3] = alpha == 0 ? 0 : 255;
                break;
            case 8: {
                if (alpha == 0)
                    break; // index 0 leaves the page as it is
                out[j] = nearest(c[0], c[1], c[2]);
                break;
            }
            case 2:
                if (alpha != 0)
                    out[j] = std::uint8_t(dark(c[0], c[1], c[2]) ? dark_index : light_index);
                break;
            default:
                if (alpha != 0 && dark(c[0], c[1], c[2]))
                    out[j / 8] |= std::uint8_t(0x80 >> (j % 8));
                break;
            }
        }
    }
    m_strip.data = m_strip_data.data();
    m_strip.stride = std::int32_t(stride);
}
