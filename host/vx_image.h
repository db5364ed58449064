// Images the renderer shares with a device: pixel images it hands over whole, and images served by
// an image source, which delivers its pixels in strips of rows on request. Also the renderer's
// standard image routine and the image source that serves a PNG file.
//
// The image-source records are the host's C layouts. Each field states its offset in the host's
// 32-bit layout; on x86-64 the fields after a pointer move (native offsets are checked below).
#pragma once

#include "vx_render.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

/// One strip of rows an image source hands out. Row 0 is the top row of the rows asked for.
struct VX_Image_Strip {
    const std::uint8_t* data = nullptr; ///< 0: first row
    std::int32_t stride = 0;            ///< 4 (native 8): bytes from row to row
    std::int32_t reserved_8 = 0;        ///< 8 (native 12)
    std::uint16_t status[2] = {0, 0};   ///< 12, 14 (native 16, 18): non-zero: no usable data
};

/// What a device asks an image source for: a rectangle of rows at a bit depth, with the colours
/// the pixels are to be expressed in.
///
/// Bits per pixel and what the pixels mean:
/// - 32: four bytes red, green, blue, alpha per pixel, in the device's true-colour layout (white
///   and black exchanged by the device afterwards). A pixel the device must leave untouched has
///   alpha 0 or the key colour red 0x2A, green 0x4E, blue 0x57 (`key`). `background` holds the
///   paper colour (red, green, blue) that transparent pixels are composed over.
/// - 8: one index into `colours` (256 red, green, blue triples) per byte; 0 leaves the page as
///   it is.
/// - 1: one bit per pixel, the leftmost in the highest bit, rows padded to whole bytes; colours
///   are white (0) and black (1).
/// - 2: one byte per pixel (not packed): 0 leaves the page as it is; dark pixels take the index
///   in the low 16 bits of `foreground`, light ones the index in the low 16 bits of `background`;
///   the device inks index 1.
struct VX_Strip_Request {
    std::int32_t x0 = 0, y0 = 0, x1 = 0,
                 y1 = 0;                       ///< 0: source columns and rows (y0 lowest) asked for
    std::int32_t area[4] = {};                 ///< 16: the same four values
    std::int32_t source_type = 0;              ///< 32: from the source
    std::int32_t pixel_type = 0;               ///< 36: 3 true colour, 1 index, 0 bits
    std::int32_t reserved_40 = 0;              ///< 40
    std::uint16_t source_format = 0;           ///< 44: from the source
    std::uint16_t bits_per_pixel = 0;          ///< 46
    std::uint8_t background[4] = {};           ///< 48: see above
    std::uint8_t key[4] = {};                  ///< 52: the key colour's bytes, or a 16-bit code
    std::uint8_t foreground[4] = {};           ///< 56: see above
    std::int32_t serial = 0;                   ///< 60: the device's request serial
    const std::uint8_t* colours = nullptr;     ///< 64: red, green, blue triples, or null
    std::uint16_t reserved_68 = 0;             ///< 68 (native 72)
    double scale = 0;                          ///< 72 (native 80)
    double transform[9] = {};                  ///< 80 (native 88): from the source
    std::uint8_t reserved_152 = 0;             ///< 152 (native 160)
    std::int32_t reserved_156[3] = {};         ///< 156 (native 164)
    const std::int32_t* clip_points = nullptr; ///< 168 (native 176): x, y pairs, or null
    std::int32_t clip_count = 0;               ///< 172 (native 184): points in the clip list
    std::int32_t clip_kind = 0;                ///< 176 (native 188)
    std::int32_t progress[3] = {};             ///< 180 (native 192): reset for every strip
    std::uint16_t strip_count = 0;             ///< 192 (native 204)
    std::uint16_t strip_number = 0;            ///< 194 (native 206): from 1
};

/// The fetch callback: the strip for the request, or null; `cookie` points at the source's cookie.
using VX_Strip_Fetch = VX_Image_Strip* (*)(VX_Strip_Request* request, std::intptr_t user,
                                           std::int32_t* cookie);
/// The release callback: the strip is handed back.
using VX_Strip_Release = void (*)(VX_Image_Strip* strip, std::intptr_t user, std::int32_t cookie);

/// An image source: a rectangle of rows (y0 the lowest) fetched in strips.
struct VX_Image_Source {
    std::int32_t reserved_0[3] = {};                   ///< 0
    std::int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;       ///< 12: the source rectangle
    VX_Strip_Fetch fetch = nullptr;                    ///< 28 (native 32)
    VX_Strip_Release release = nullptr;                ///< 32 (native 40)
    std::int32_t source_type = 0;                      ///< 36 (native 48)
    std::int32_t source_format = 0;                    ///< 40 (native 52): the low 16 bits count
    double transform[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}; ///< 48 (native 56)
    std::int32_t tint[3] = {};         ///< 120, 124, 128 (native 128): low bytes count
    std::int32_t reserved_132[2] = {}; ///< 132 (native 140)
    std::uint8_t direct_write = 0;     ///< 140 (native 148): 1: write into the page
    std::intptr_t user = 0;            ///< 148 (native 152): passed to the callbacks
    std::int32_t cookie = 0;           ///< 152 (native 160)
    std::uint8_t busy = 0;             ///< 160 (native 164): 1 while a strip is out

    std::int32_t width() const { return x1 - x0 + 1; }
    std::int32_t height() const { return y1 - y0 + 1; }
};

static_assert(offsetof(VX_Image_Strip, status) == 16);
static_assert(offsetof(VX_Strip_Request, serial) == 60);
static_assert(offsetof(VX_Strip_Request, colours) == 64);
static_assert(offsetof(VX_Strip_Request, strip_number) == 206);
static_assert(offsetof(VX_Image_Source, fetch) == 32);
static_assert(offsetof(VX_Image_Source, busy) == 164);

/// Kinds of shared image.
enum VX_Shared_Image_Kind : std::int32_t {
    vx_image_bitonal = 1, ///< 1 bit per pixel in `bitonal_format`
    vx_image_index8 = 2,  ///< palette indices of the renderer's palette
    vx_image_rgb32 = 4,   ///< 0xAARRGGBB words (bytes blue, green, red, alpha)
    vx_image_source = 8,  ///< pixels come from `source`
};

/// An image the renderer hands to a device with a point: its top-left corner.
struct VX_Shared_Image {
    std::int32_t kind = vx_image_rgb32;
    std::int32_t columns = 0, rows = 0;
    std::int32_t stride = 0; ///< bytes from row to row, top row first
    const std::uint8_t* pixels = nullptr;
    std::int32_t bitonal_format = 1;   ///< 1: a set bit is light; 3: a set bit is dark
    VX_Image_Source* source = nullptr; ///< kind 8
};

/// Signatures of the shared-image actions: the point is the image's top-left corner.
using VX_Shared_Image_Action = void (*)(VX_Renderer_Data* device, const VX_Rendition& rendition,
                                        const VX_DCI_Point& point, const VX_Shared_Image& image);
using VX_Shared_Image_Real_Action = void (*)(VX_Renderer_Data* device,
                                             const VX_Rendition& rendition,
                                             const VX_DCF_Point& point,
                                             const VX_Shared_Image& image);

/// The index of the colour nearest to (red, green, blue) in a list of `count` red, green, blue
/// triples (squared distance; the first of equals); 0 for an empty list.
VX_API int vx_nearest_colour(const std::uint8_t* triples, int count, std::uint8_t red,
                             std::uint8_t green, std::uint8_t blue);

/// The palette's used entries as red, green, blue triples (at least the first entry).
VX_API std::vector<std::uint8_t> vx_palette_triples(const VX_Palette& palette);

/// The standard image routine: draws a shared image of pixels with its top-left corner at the
/// point, through the device's image action of its colour system, converting the pixels to that
/// action's format (nearest palette colour, or dark and light for bits). Nothing for an image
/// source (kind 8), which the device draws itself, or when the device has no matching action.
VX_API void VD_Standard_Draw_DCI_Image(VX_Renderer_Data* device, const VX_Rendition& rendition,
                                       const VX_DCI_Point& point, const VX_Shared_Image& image);

/// A PNG file as an image source: decoded once into 8-bit red, green, blue, alpha, then served
/// in strips at the bit depth each request asks for (see VX_Strip_Request).
class VX_API VX_Png_Image {
public:
    /// Reads the file; throws VX_Error (host message 1005) naming the file and what is wrong.
    explicit VX_Png_Image(const std::string& path);
    VX_Png_Image(const VX_Png_Image&) = delete;
    VX_Png_Image& operator=(const VX_Png_Image&) = delete;
    ~VX_Png_Image();

    int width() const { return m_width; }
    int height() const { return m_height; }
    /// Row y (0 at the top): width x 4 bytes red, green, blue, alpha.
    const std::uint8_t* row(int y) const { return m_pixels.data() + std::size_t(y) * m_width * 4; }
    /// Resamples the image to width x height pixels (the nearest source pixel), as it is to be
    /// placed on the page; the source rectangle follows. Sizes below 1 are taken as 1.
    void resize(int width, int height);
    /// The source record that serves this image (source rows 0 to height - 1, 0 the bottom).
    VX_Image_Source& source() { return m_source; }
    /// Strips handed out and not yet handed back.
    int strips_out() const { return m_strips_out; }

private:
    static VX_Image_Strip* fetch(VX_Strip_Request* request, std::intptr_t user,
                                 std::int32_t* cookie);
    static void release(VX_Image_Strip* strip, std::intptr_t user, std::int32_t cookie);
    void serve(const VX_Strip_Request& request);

    int m_width = 0, m_height = 0;
    std::vector<std::uint8_t> m_pixels;
    VX_Image_Source m_source;
    VX_Image_Strip m_strip;
    std::vector<std::uint8_t> m_strip_data;
    int m_strips_out = 0;
};
