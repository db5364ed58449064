#include "host/vx_exception.h"

#include <cstdio>

namespace {

struct Host_Message {
    int id;
    const char* text;
};

constexpr Host_Message host_messages[] = {
    {vx_msg_model_data_unreadable, "Model data file cannot be read"},
    {vx_msg_model_data_malformed, "Model data file is malformed"},
    {vx_msg_model_data_type, "Model data file type is not supported"},
    {vx_msg_capabilities_invalid, "Printer capability description is incorrect"},
    {vx_msg_plugin_unusable, "Plotter driver cannot be used"},
    {vx_msg_image_unreadable, "Image file cannot be read"},
};

std::string load_message_text(vxp::Module_Handle module, int id) {
    if (!module) {
        for (const auto& m : host_messages)
            if (m.id == id)
                return m.text;
    } else if (auto text = vxp::load_string(module, static_cast<unsigned>(id))) {
        return vxp::to_utf8(*text);
    }
    return "message " + std::to_string(id);
}

std::string compose_what(const VX_Exception& e) {
    std::string what = e.message_text();
    if (!e.routine().empty() || !e.detail().empty()) {
        what += " (" + e.routine();
        if (!e.detail().empty())
            what += (e.routine().empty() ? "" : ": ") + e.detail();
        what += ")";
    }
    return what;
}

} // namespace

VX_Exception::VX_Exception(int level, vxp::Module_Handle module, int message_id,
                           std::string routine, std::string detail, std::string revision)
    : m_level(level), m_module(module), m_message_id(message_id), m_routine(std::move(routine)),
      m_detail(std::move(detail)), m_revision(std::move(revision)) {
    m_message_text = load_message_text(module, message_id);
    m_what = compose_what(*this);
}

VX_Exception::~VX_Exception() = default;

void VX_Exception::add_catcher(std::string routine) {
    if (m_catchers.size() < max_catchers)
        m_catchers.push_back(std::move(routine));
}

const char* VX_Exception::what() const noexcept {
    return m_what.c_str();
}

VX_Error::VX_Error(vxp::Module_Handle module, int message_id, std::string routine,
                   std::string detail, std::string revision)
    : VX_Exception(2, module, message_id, std::move(routine), std::move(detail),
                   std::move(revision)) {}
VX_Error::~VX_Error() = default;

VX_Severe_Error::VX_Severe_Error(vxp::Module_Handle module, int message_id, std::string routine,
                                 std::string detail, std::string revision)
    : VX_Exception(4, module, message_id, std::move(routine), std::move(detail),
                   std::move(revision)) {}
VX_Severe_Error::~VX_Severe_Error() = default;

VX_Error_Handler::~VX_Error_Handler() = default;

void VX_Error_Handler::report(const VX_Exception& error) {
    m_reported.emplace_back(error.what());
}
