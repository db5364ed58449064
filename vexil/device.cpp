#include "host/vx_device.h"

#include <cerrno>
#include <cstring>

VX_Renderer_Options::~VX_Renderer_Options() = default;
VX_Plotter_Options::~VX_Plotter_Options() = default;

void VX_Action_Table::set(int action, const VX_Action& entry) {
    if (action >= 0 && action < size)
        m_entries[std::size_t(action)] = entry;
}

VX_Action VX_Action_Table::get(int action) const {
    return action >= 0 && action < size ? m_entries[std::size_t(action)] : VX_Action{};
}

VX_Plot_Monitor::~VX_Plot_Monitor() = default;

std::int32_t VX_Plot_Monitor::is_cancelled(std::int32_t) const {
    return m_cancelled ? 1 : 0;
}

void VX_Plot_Monitor::report_status(std::int32_t status) {
    m_statuses.push_back(status);
}

VX_Plotter_IO::VX_Plotter_IO(VX_Smart_Pointer<VX_Error_Handler> handler)
    : m_error_handler(std::move(handler)) {}

VX_Plotter_IO::~VX_Plotter_IO() {
    close();
}

void VX_Plotter_IO::bind_definition(VX_Smart_Pointer<VX_Plotter_Definition> definition) {
    m_definition = std::move(definition);
}

bool VX_Plotter_IO::open(const VX_Document_Info&) {
    close();
    auto shoebox = m_definition ? m_definition->get_shoebox() : nullptr;
    VX_String destination = !shoebox                              ? VX_String()
                            : !shoebox->plot_to_file_name.empty() ? shoebox->plot_to_file_name
                                                                  : shoebox->device_destination;
    if (destination.empty()) {
        m_last_error = "no output file or device is named";
        return false;
    }
    std::string name = vxp::native_path(destination);
    m_file = std::fopen(name.c_str(), "wb");
    m_last_error = m_file ? "" : name + ": " + std::strerror(errno);
    if (m_file)
        std::setvbuf(m_file, nullptr, _IONBF, 0);
    return m_file != nullptr;
}

bool VX_Plotter_IO::ready() const {
    return m_file != nullptr;
}

long VX_Plotter_IO::write(const void* data, long length) {
    if (!m_file || !data || length <= 0)
        return 0;
    std::size_t written = std::fwrite(data, 1, std::size_t(length), m_file);
    if (written < std::size_t(length))
        m_last_error = std::strerror(errno);
    return long(written);
}

void VX_Plotter_IO::close() {
    if (!m_file)
        return;
    if (std::fclose(m_file) != 0)
        m_last_error = std::strerror(errno);
    m_file = nullptr;
}

VX_Renderer_Data::VX_Renderer_Data()
    : m_options(vx_make<VX_Renderer_Options>()), m_device_options(vx_make<VX_Renderer_Options>()) {}
VX_Renderer_Data::~VX_Renderer_Data() = default;

VX_Plotter_Device_Data::VX_Plotter_Device_Data()
    : m_plotter_options(vx_make<VX_Plotter_Options>()),
      m_third_options(vx_make<VX_Renderer_Options>()) {}
VX_Plotter_Device_Data::~VX_Plotter_Device_Data() = default;

void VX_Plotter_Device_Data::begin_picture(const VX_Document_Info&) {}
void VX_Plotter_Device_Data::end_picture() {}
