#include "model_data_p.h"
#include "platform/vxplatform.h"

#include <fstream>
#include <sstream>

namespace {

const char* const load_routine = "PM_Object::load";

int node_type(const json& value) {
    if (value.is_object())
        return pm_node_directory;
    return value.is_string() ? pm_node_text : pm_node_value;
}

std::string property_text(const json& value) {
    return value.is_string() ? value.get<std::string>() : value.dump();
}

// nlohmann's messages start with "[json.exception.parse_error.101] "; the rest says where and why.
std::string parse_error_text(const json::parse_error& e) {
    std::string text = e.what();
    if (auto end = text.find("] "); text.starts_with("[json.exception") && end != std::string::npos)
        text.erase(0, end + 2);
    return text;
}

} // namespace

PM_Iterator::~PM_Iterator() = default;

bool PM_Iterator::nextNode(VX_String& name, int& type) {
    if (m_next >= m_members.size())
        return false;
    const auto& [member, member_type] = m_members[m_next++];
    name = vxp::from_utf8(member);
    type = member_type;
    return true;
}

PM_Object::PM_Object(VX_Smart_Pointer<VX_Error_Handler> handler)
    : m_error_handler(std::move(handler)) {}

PM_Object::~PM_Object() = default;

void PM_Object::load(const VX_String& path, int file_type, wchar_t separator) {
    std::string file = vxp::native_path(path);
    if (file_type != pm_file_type_drc)
        throw VX_Error(nullptr, vx_msg_model_data_type, load_routine,
                       file + ": file type " + std::to_string(file_type), "");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw VX_Error(nullptr, vx_msg_model_data_unreadable, load_routine, file, "");
    std::stringstream content;
    content << in.rdbuf();
    auto document = std::make_shared<Document>();
    try {
        document->root = json::parse(content.str());
    } catch (const json::parse_error& e) {
        throw VX_Error(nullptr, vx_msg_model_data_malformed, load_routine,
                       file + ": " + parse_error_text(e), "");
    }
    if (!document->root.is_object())
        throw VX_Error(nullptr, vx_msg_model_data_malformed, load_routine,
                       file + ": the top level is not an object", "");
    m_document = std::move(document);
    m_separator = separator;
}

const void* PM_Object::find(const VX_String& path) const {
    if (!m_document)
        return nullptr;
    const json* node = &m_document->root;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(m_separator, start);
        if (end == VX_String::npos)
            end = path.size();
        if (end > start) {
            std::string name = vxp::to_utf8(path.substr(start, end - start));
            if (!node->is_object())
                return nullptr;
            auto it = node->find(name);
            if (it == node->end())
                return nullptr;
            node = &*it;
        }
        start = end + 1;
    }
    return node;
}

VX_Smart_Pointer<PM_Iterator> PM_Object::newIterator(const VX_String& path, int) const {
    auto* node = static_cast<const json*>(find(path));
    if (!node || !node->is_object())
        return nullptr;
    std::vector<std::pair<std::string, int>> members;
    for (auto it = node->begin(); it != node->end(); ++it)
        members.emplace_back(it.key(), node_type(it.value()));
    return vx_make<PM_Iterator>(std::move(members));
}

long PM_Object::getPropertySize(const VX_String& path, int) const {
    auto* node = static_cast<const json*>(find(path));
    if (!node || node->is_object())
        return 0;
    return static_cast<long>(property_text(*node).size() + 1);
}

long PM_Object::GetProperty(const VX_String& path, char* buffer, long size, int) const {
    auto* node = static_cast<const json*>(find(path));
    if (!node || node->is_object() || !buffer || size <= 0)
        return 0;
    std::string text = property_text(*node);
    std::size_t n = std::min(text.size(), static_cast<std::size_t>(size));
    text.copy(buffer, n);
    return static_cast<long>(n);
}

bool extract_compound_str_ex(const std::string& text, int count, std::vector<std::string>& parts) {
    parts.clear();
    if (count <= 0)
        return false;
    std::size_t start = 0;
    for (int i = 0; i < count - 1; ++i) {
        std::size_t bar = text.find('|', start);
        if (bar == std::string::npos)
            return false;
        parts.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    parts.push_back(text.substr(start));
    return true;
}

VX_String PM_Model_Data_File_Name(const VX_String& driver_path_name, const VX_String& language) {
    vxp::Split_Path parts = vxp::split_path(driver_path_name);
    return parts.drive + parts.directory + language + L"/" + parts.base_name + L".DRC";
}
