// What the renderer hands to a device's drawing actions: points in device units (y grows
// upward), the rendition (clip region, colour, weight, fill code), and the signatures of the
// actions; plus the renderer's standard routines a device hands a primitive back to.
#pragma once

#include "vx_device.h"

#include <cstdint>
#include <vector>

struct VX_DCI_Point {
    std::int32_t x = 0, y = 0, z = 0;
};

struct VX_DCF_Point {
    float x = 0, y = 0, z = 0;
};

/// A clip region: closed contours in device units; inside by the even-odd rule.
class VX_API VX_Contour_Set_Data : public VX_Object {
public:
    ~VX_Contour_Set_Data() override;
    std::vector<std::vector<VX_DCF_Point>> contours;
};

/// Whether (x, y) lies inside the region (even-odd rule; z is ignored).
VX_API bool point_inside(const VX_Contour_Set_Data& region, float x, float y, float z);

/// How a primitive is drawn.
struct VX_Rendition {
    VX_Smart_Pointer<VX_Contour_Set_Data> clip_region; ///< null: no clipping
    std::uint32_t color = 0;    ///< 0xAARRGGBB; its low 8 bits are the palette index
    float weight = 0;           ///< line weight; 0 or less means the thinnest
    std::int32_t fill_code = 0; ///< 64: a fill the device leaves to the standard routine
};

/// Signatures of the drawing actions (the first argument is the action's owner).
using VX_Dot_Action = void (*)(VX_Renderer_Data* device, const VX_Rendition& rendition,
                               const VX_DCI_Point& point, const std::uint32_t* color);
using VX_Image_Action = void (*)(VX_Renderer_Data* device, const VX_Rendition& rendition,
                                 const VX_DCI_Point& first, const VX_DCI_Point& second,
                                 std::int32_t stride, const std::uint8_t* data);
using VX_Bitonal_Action = void (*)(VX_Renderer_Data* device, const VX_Rendition& rendition,
                                   const VX_DCI_Point& first, const VX_DCI_Point& second,
                                   std::int32_t stride, const std::uint8_t* data,
                                   const std::int32_t* format);
using VX_Clear_Action = void (*)(VX_Renderer_Data* device);
using VX_Polytriangle_Action = void (*)(VX_Renderer_Data* device, const VX_Rendition& rendition,
                                        std::int32_t count, const VX_DCI_Point* points);
/// A horizontal run of device points (x0 to x1 inclusive, row y) in the rendition's colour: the
/// span path a device may offer the renderer's fills (action vx_action_span). Fills write the
/// same pixels through it as through the device's dot action, without a call per pixel.
using VX_Span_Action = void (*)(VX_Renderer_Data* device, const VX_Rendition& rendition,
                                std::int32_t x0, std::int32_t x1, std::int32_t y);

/// Fills a convex polygon (here a triangle) in the rendition's colour: every device point inside
/// it or on its edges. The fill runs in strokes of `width` rows (`horizontal`) or columns across
/// the polygon; each stroke's points are computed exactly, so the points filled do not depend on
/// the stroke width or direction. Points go through the device's span action when it has one and
/// the rendition has no clip region, else through its dot action (which clips). `mode` 1 and
/// `outline` false are the only ones offered.
VX_API void VD_Fill_2DI_Polygon(VX_Renderer_Data* device, const VX_Rendition& rendition,
                                std::int32_t count, const VX_DCI_Point* points, std::int32_t mode,
                                std::int32_t width, bool horizontal, bool outline);

/// The device points inside a convex polygon or on its edges, row by row for the rows `low` to
/// `high` that the polygon covers: `span(context, x_first, x_last, y)` for each row that has
/// points. VD_Fill_2DI_Polygon fills exactly these points.
VX_API void VD_Scan_2DI_Polygon(std::int32_t count, const VX_DCI_Point* points, std::int64_t low,
                                std::int64_t high,
                                void (*span)(void* context, std::int32_t x_first,
                                             std::int32_t x_last, std::int32_t y),
                                void* context);

/// The standard triangle routine: the points form a strip (triangle t is points t, t + 1,
/// t + 2), each triangle filled with VD_Fill_2DI_Polygon (through the dot action when the
/// rendition has a clip region, so the region applies).
VX_API void VD_Standard_Draw_DCI_Polytriangle(VX_Renderer_Data* device,
                                              const VX_Rendition& rendition, std::int32_t count,
                                              const VX_DCI_Point* points);

/// The standard bitonal image routine: converts the bits to the renderer's current bitonal format
/// (1 and 3 are each other's inverse) and draws them with the device's bitonal action.
VX_API void VD_Standard_Draw_DCI_Bitonal_Image(VX_Renderer_Data* device,
                                               const VX_Rendition& rendition,
                                               const VX_DCI_Point& first,
                                               const VX_DCI_Point& second, std::int32_t stride,
                                               const std::uint8_t* data,
                                               const std::int32_t* format);
