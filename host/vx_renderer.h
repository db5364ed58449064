// The renderer's side of drawing: for each primitive it calls the action the device installed in
// its action table, or the renderer's standard routine when the device leaves the primitive to
// the renderer (the table's standard_actions).
#pragma once

#include "vx_image.h"

#include <cstdint>

class VX_API VX_Renderer {
public:
    explicit VX_Renderer(VX_Renderer_Data& device) : m_device(device) {}

    /// Action 87: one device point (the device may draw it as a block at high resolutions).
    void dot(const VX_Rendition& rendition, const VX_DCI_Point& point,
             const std::uint32_t* color = nullptr) const;
    /// Action 13: a triangle strip of `count` points.
    void triangles(const VX_Rendition& rendition, const VX_DCI_Point* points,
                   std::int32_t count) const;
    /// Action 91: a shared image with its top-left corner at the point.
    void image(const VX_Rendition& rendition, const VX_DCI_Point& top_left,
               const VX_Shared_Image& image) const;
    /// Action 114: the page back to blank paper.
    void clear() const;

private:
    /// The installed routine of an action, or null.
    void (*routine(int action) const)();

    VX_Renderer_Data& m_device;
};
