#include "host/vx_render.h"

VX_Contour_Set_Data::~VX_Contour_Set_Data() = default;

bool point_inside(const VX_Contour_Set_Data& region, float x, float y, float) {
    bool inside = false;
    for (const auto& contour : region.contours) {
        std::size_t n = contour.size();
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            const VX_DCF_Point& a = contour[i];
            const VX_DCF_Point& b = contour[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
                inside = !inside;
        }
    }
    return inside;
}

void VD_Standard_Draw_DCI_Bitonal_Image(VX_Renderer_Data* device, const VX_Rendition& rendition,
                                        const VX_DCI_Point& first, const VX_DCI_Point& second,
                                        std::int32_t stride, const std::uint8_t* data,
                                        const std::int32_t* format) {
    VX_Action action = device->actions().get(vx_action_bitonal_image);
    std::int32_t wanted = device->device_options().bitonal_format;
    if (!action.enabled || !action.routine || !data || stride <= 0)
        return;
    std::int32_t rows = (first.y > second.y ? first.y - second.y : second.y - first.y) + 1;
    std::vector<std::uint8_t> converted(data, data + std::size_t(stride) * std::size_t(rows));
    if (!format || *format != wanted)
        for (auto& byte : converted)
            byte = std::uint8_t(~byte);
    reinterpret_cast<VX_Bitonal_Action>(action.routine)(device, rendition, first, second, stride,
                                                        converted.data(), &wanted);
}
