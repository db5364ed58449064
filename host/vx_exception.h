// Errors of the host framework. Failures are thrown, never returned: a VX_Error (level 2) or a
// VX_Severe_Error (level 4) that carries the resource library whose string table holds the message,
// the message number, the routine that threw, a detail (a member name, a file and line, a loaded
// message), the revision tag of the throwing source module and the names of the routines that
// caught and rethrew it. The classes are exported with out-of-line key functions, so a catch in the
// host sees an exception thrown by a plug-in.
#pragma once

#include "platform/vxplatform.h"
#include "vx_object.h"

#include <exception>
#include <string>
#include <vector>

class VX_API VX_Exception : public std::exception {
public:
    /// NOTE: the host keeps the names of at most 32 catchers; later ones are dropped.
    static constexpr std::size_t max_catchers = 32;

    VX_Exception(int level, vxp::Module_Handle module, int message_id, std::string routine,
                 std::string detail, std::string revision);
    ~VX_Exception() override;

    int level() const { return m_level; }
    /// Resource library holding the message text; null for the host's own messages.
    vxp::Module_Handle module() const { return m_module; }
    int message_id() const { return m_message_id; }
    const std::string& routine() const { return m_routine; }
    const std::string& detail() const { return m_detail; }
    const std::string& revision() const { return m_revision; }
    const std::vector<std::string>& catchers() const { return m_catchers; }

    /// Adds the name of a routine that caught the error and rethrows it.
    void add_catcher(std::string routine);
    /// The message text from the module's string table (or the host's own table), or
    /// "message N" when it cannot be loaded. It is looked up when the error is made, so it
    /// survives the unloading of the module that threw.
    const std::string& message_text() const { return m_message_text; }
    /// "text (routine: detail)".
    const char* what() const noexcept override;

private:
    int m_level;
    vxp::Module_Handle m_module;
    int m_message_id;
    std::string m_routine, m_detail, m_revision;
    std::vector<std::string> m_catchers;
    std::string m_message_text, m_what;
};

class VX_API VX_Error : public VX_Exception {
public:
    VX_Error(vxp::Module_Handle module, int message_id, std::string routine, std::string detail,
             std::string revision);
    ~VX_Error() override;
};

class VX_API VX_Severe_Error : public VX_Exception {
public:
    VX_Severe_Error(vxp::Module_Handle module, int message_id, std::string routine,
                    std::string detail, std::string revision);
    ~VX_Severe_Error() override;
};

/// The host's own messages (thrown with a null module).
enum VX_Host_Message : int {
    vx_msg_model_data_unreadable = 1000, ///< "Model data file cannot be read"
    vx_msg_model_data_malformed = 1001,  ///< "Model data file is malformed"
    vx_msg_model_data_type = 1002,       ///< "Model data file type is not supported"
    vx_msg_capabilities_invalid = 1003,  ///< "Printer capability description is incorrect"
    vx_msg_plugin_unusable = 1004,       ///< "Plotter driver cannot be used"
    vx_msg_image_unreadable = 1005,      ///< "Image file cannot be read"
};

/// Receives the errors a host object reports instead of throwing (the capabilities loader's).
class VX_API VX_Error_Handler : public VX_Object {
public:
    ~VX_Error_Handler() override;
    /// Records the error; a host program shows it.
    virtual void report(const VX_Exception& error);
    /// Every error reported so far, as "what()" texts.
    const std::vector<std::string>& reported() const { return m_reported; }

private:
    std::vector<std::string> m_reported;
};
