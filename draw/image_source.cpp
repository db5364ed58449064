// Images whose pixels come from an image source: fetched strip by strip from the top down, each
// strip at most 512 KiB of pixels at the requested depth, written straight into the page image
// (direct path) or into a scratch image that is then pasted (scratch path), and handed back.
#include "draw_p.h"
#include "host/vx_image.h"
#include "raster_draw.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace {

using namespace raster_draw;

const char* const routine = "raster_plotter_draw_dci_ism_image";
constexpr std::int64_t strip_bytes = 0x80000;
constexpr std::uint32_t key_colour = 0x574E2A;

enum class Path { true_colour_direct, true_colour_scratch, palette, bits_scratch, bits_direct };

// Bytes of a row of w pixels at 8 bits (or 1 bit), rounded down to a multiple of 4 as the strip
// sizing of the host's protocol takes it.
std::int64_t sized_row(std::int64_t w, int bits) {
    return ((w * bits + 31) / 8) & ~std::int64_t(3);
}

// Rows per strip: as many as fit 512 KiB, at least one (a row wider than 512 KiB still comes in
// strips of one row), at most the image's height.
std::int32_t rows_per_strip(std::int64_t row_bytes, std::int32_t height) {
    std::int64_t rows = row_bytes > 0 ? strip_bytes / row_bytes : height;
    return std::int32_t(std::clamp<std::int64_t>(rows, 1, std::max(height, 1)));
}

void put16(std::uint8_t* field, std::uint16_t value) {
    std::memcpy(field, &value, sizeof value);
}

// The request fields that are the same for every strip, for the chosen path.
void fill_request(VX_Strip_Request& q, RASTER_Driver& d, const VX_Rendition& r,
                  const VX_Image_Source& s, Path path, const std::uint8_t* colours) {
    q.source_type = s.source_type;
    q.source_format = std::uint16_t(s.source_format);
    q.scale = 1.0;
    std::copy(std::begin(s.transform), std::end(s.transform), q.transform);
    const bool white_paper = (d.m_background_color & 0xFFFFFF) != 0;
    d.next_request_serial();
    q.serial = d.m_request_serial;
    switch (path) {
    case Path::true_colour_direct:
    case Path::true_colour_scratch:
        q.pixel_type = 3;
        q.bits_per_pixel = 32;
        q.background[0] = std::uint8_t(d.m_background_color);
        q.background[1] = std::uint8_t(d.m_background_color >> 8);
        q.background[2] = std::uint8_t(d.m_background_color >> 16);
        q.key[0] = std::uint8_t(key_colour);
        q.key[1] = std::uint8_t(key_colour >> 8);
        q.key[2] = std::uint8_t(key_colour >> 16);
        for (int i = 0; i < 3; ++i)
            q.foreground[i] = std::uint8_t(s.tint[i]);
        return;
    case Path::palette:
        q.pixel_type = 1;
        q.bits_per_pixel = 8;
        put16(q.key, 254);
        q.key[2] = 87;
        put16(q.foreground, std::uint16_t(r.color & 0xFF));
        break;
    case Path::bits_scratch:
        q.bits_per_pixel = 1;
        q.key[2] = 87;
        put16(q.foreground, 1);
        break;
    case Path::bits_direct:
        q.pixel_type = 1;
        q.bits_per_pixel = 2;
        q.key[2] = 87;
        put16(q.background, white_paper ? 2 : 1);
        put16(q.foreground, white_paper ? 1 : 2);
        break;
    }
    q.colours = colours;
    if (path == Path::palette || path == Path::bits_direct) {
        d.next_request_serial();
        q.serial = d.m_request_serial;
    }
}

// The black/white exchange of the page image, on a pixel's first three bytes.
std::uint32_t exchange(std::uint32_t pixel) {
    if ((pixel & 0xFFFFFF) == 0)
        return pixel | 0xFFFFFF;
    if ((pixel & 0xFFFFFF) == 0xFFFFFF)
        return pixel & 0xFF000000;
    return pixel;
}

// A scratch image of w x rows pixels for the path; false when it cannot be had.
bool make_scratch(Raster_Buffer& scratch, Path path, int w, int rows,
                  const std::array<std::uint32_t, 256>& palette) {
    if (path == Path::palette)
        scratch.create_palette_image(w, rows, palette);
    else
        scratch.create(w, rows, path == Path::bits_scratch ? 0 : 3, 3);
    return scratch.image() && scratch.image()->valid() && scratch.context() &&
           scratch.context()->valid();
}

} // namespace

void raster_draw_image_source(RASTER_Driver& d, const VX_Rendition& r, const VX_DCI_Point& at,
                              VX_Image_Source& s) {
    d.set_output_driver(&d);
    const std::int32_t w = s.width(), height = s.height();
    const bool white_paper = (d.m_background_color & 0xFFFFFF) != 0;

    Path path;
    std::int32_t rows;
    switch (d.m_color_system) {
    case 1:
        path = s.direct_write == 1 || r.clip_region ? Path::true_colour_direct
                                                    : Path::true_colour_scratch;
        rows = rows_per_strip(std::int64_t(w) * 4, height);
        break;
    case 0:
        path = Path::palette;
        rows = rows_per_strip(sized_row(w, 8), height);
        break;
    case 2:
        if (white_paper && s.direct_write == 0 && r.clip_region) {
            path = Path::bits_scratch;
            rows = rows_per_strip(sized_row(w, 1), height);
        } else {
            path = Path::bits_direct;
            rows = rows_per_strip(sized_row(w, 8), height);
        }
        break;
    default:
        fail(routine, raster_msg_color_system);
    }
    if (w < 1 || height < 1)
        return;
    const int strips = (height + rows - 1) / rows;

    // The colours the request lists, and the scratch palette (red, green, blue, 255).
    std::vector<std::uint8_t> colours;
    std::array<std::uint32_t, 256> palette{};
    if (path == Path::palette) {
        colours.reserve(256 * 3);
        for (int i = 0; i < 256; ++i) {
            VX_Palette::Entry e = d.m_palette->get_entry(i);
            colours.insert(colours.end(), {e.red, e.green, e.blue});
            palette[std::size_t(i)] = std::uint32_t(e.red) | std::uint32_t(e.green) << 8 |
                                      std::uint32_t(e.blue) << 16 | 0xFF000000u;
        }
    } else if (path == Path::bits_scratch) {
        colours = {255, 255, 255, 0, 0, 0};
    } else if (path == Path::bits_direct) {
        colours = {255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255, 255};
    }

    VX_Strip_Request request;
    fill_request(request, d, r, s, path, colours.empty() ? nullptr : colours.data());
    request.strip_count = std::uint16_t(strips);

    std::vector<std::int32_t> clip_points;
    if (r.clip_region) {
        try {
            for (const auto& contour : r.clip_region->contours)
                for (const VX_DCF_Point& p : contour) {
                    clip_points.push_back(std::int32_t(std::lround(p.x)));
                    clip_points.push_back(std::int32_t(std::lround(p.y)));
                }
        } catch (const std::bad_alloc&) {
            raster_throw(raster_msg_memory, routine, raster_message_text(raster_msg_memory).c_str(),
                         revision);
        }
        request.clip_points = clip_points.data();
        request.clip_count = std::int32_t(clip_points.size() / 2);
        request.clip_kind = std::int32_t(r.clip_region->contours.size());
    }

    std::vector<std::uint32_t> work;
    if (path == Path::true_colour_direct || path == Path::true_colour_scratch) {
        try {
            work.resize(std::size_t(w) + 1);
        } catch (const std::bad_alloc&) {
            return; // no work row: nothing can be drawn
        }
    }

    Raster_Buffer scratch;
    const bool uses_scratch = path != Path::true_colour_direct && path != Path::bits_direct;
    std::int32_t scratch_rows = 0;
    std::int32_t remaining = height;
    for (int number = 1; remaining > 0; ++number) {
        const std::int32_t n = std::min(rows, remaining);
        request.x0 = request.area[0] = s.x0;
        request.x1 = request.area[2] = s.x1;
        request.y0 = request.area[1] = s.y0 + remaining - n;
        request.y1 = request.area[3] = s.y0 + remaining - 1;
        std::fill(std::begin(request.progress), std::end(request.progress), 0);
        request.strip_number = std::uint16_t(number);

        if (uses_scratch && n != scratch_rows) {
            if (!make_scratch(scratch, path, w, n, palette))
                break;
            scratch_rows = n;
        }
        if (cancelled(d))
            break;

        s.busy = 1;
        VX_Image_Strip* strip = s.fetch ? s.fetch(&request, s.user, &s.cookie) : nullptr;
        const bool usable = strip && strip->data && strip->status[0] == 0 && strip->status[1] == 0;
        const std::int32_t top_row = d.m_page_max_y - (at.y + remaining - 1);
        for (std::int32_t i = 0; usable && i < n; ++i) {
            const std::uint8_t* in = strip->data + std::size_t(i) * std::size_t(strip->stride);
            const std::int32_t page_row = top_row + i;
            switch (path) {
            case Path::true_colour_direct:
                std::memcpy(work.data(), in, std::size_t(w) * 4);
                for (std::int32_t j = 0; j < w; ++j) {
                    std::uint32_t pixel = exchange(work[std::size_t(j)]);
                    if ((pixel >> 24) != 0 && (pixel & 0xFFFFFF) != key_colour)
                        d.m_raster.put_colour(at.x + j, page_row, pixel);
                }
                break;
            case Path::true_colour_scratch:
                // The rows lie 4 x w bytes apart; a longer stride does not widen the copy.
                in = strip->data + std::size_t(i) * 4 * std::size_t(w);
                std::memcpy(work.data(), in,
                            std::min<std::size_t>(std::size_t(std::max(strip->stride, 0)),
                                                  std::size_t(w) * 4));
                std::transform(work.begin(), work.end() - 1, work.begin(), exchange);
                scratch.put_colour_run(0, i, w, work.data());
                break;
            case Path::palette:
                scratch.put_index_run(0, i, w, in);
                break;
            case Path::bits_scratch:
                scratch.put_row(i, 0, w, in);
                break;
            case Path::bits_direct:
                for (std::int32_t j = 0; j < w; ++j) {
                    if (in[j] == 1)
                        d.m_raster.put_bit(at.x + j, page_row, 1);
                    else if (in[j] == 2 || in[j] == 3)
                        d.m_raster.put_bit(at.x + j, page_row, 0);
                }
                break;
            }
        }
        if (usable && uses_scratch && scratch.image())
            d.m_raster.paste(*scratch.image(), at.x, top_row, path == Path::palette);
        // A strip that came back is handed back, usable or not, so the source never stays busy.
        s.busy = 0;
        if (strip && s.release)
            s.release(strip, s.user, s.cookie);
        if (!usable)
            break;
        remaining -= n;
    }
    scratch.release();
}
