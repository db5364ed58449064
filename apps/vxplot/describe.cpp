#include "describe.h"

#include <iomanip>
#include <nlohmann/json.hpp>
#include <sstream>

using json = nlohmann::json;

namespace {

std::string utf8(const VX_String& text) {
    return vxp::to_utf8(text);
}

const char* kind_name(VX_Custom_Kind kind) {
    switch (kind) {
    case VX_Custom_Kind::Long:
        return "long";
    case VX_Custom_Kind::Double:
        return "double";
    case VX_Custom_Kind::Boolean:
        return "boolean";
    case VX_Custom_Kind::String:
        return "string";
    case VX_Custom_Kind::Raw:
        return "raw";
    }
    return "?";
}

json meta_values(const VX_Meta_Values& values) {
    json pairs = json::array();
    for (auto [kind, value] : values.pairs())
        pairs.push_back({kind, value});
    json texts = json::array();
    for (const auto& text : values.texts())
        texts.push_back(utf8(text));
    return {{"flags", values.flags()}, {"texts", texts}, {"pairs", pairs}};
}

json identity(VX_Plotter_Definition& definition) {
    auto meta = definition.get_meta_capabilities();
    json out;
    out["version"] = utf8(meta->version);
    out["description"] = utf8(meta->description);
    out["driver_path_name"] = utf8(meta->driver_path_name);
    out["meta_values"] = meta_values(*meta);
    if (meta->family)
        out["family"] = {{"name", utf8(meta->family->name)},
                         {"description", utf8(meta->family->description)},
                         {"values", meta_values(*meta->family)}};
    if (meta->model)
        out["model"] = {{"name", utf8(meta->model->name)},
                        {"description", utf8(meta->model->description)},
                        {"os", utf8(meta->model->os_text)},
                        {"driver_locale", utf8(meta->model->driver_locale)},
                        {"values", meta_values(*meta->model)}};
    VX_String help_file, help_topic;
    if (definition.get_driver_hints_helpfile(help_file, help_topic))
        out["help"] = {{"file", utf8(help_file)}, {"topic", utf8(help_topic)}};
    out["custom_configuration_dialog"] = definition.Custom_Config_UI_Available();
    return out;
}

json capabilities(const VX_Plotter_Capabilities& caps) {
    json out;
    json sources = json::array();
    for (const auto& source : caps.get_media_capabilities()->sources()) {
        json sizes = json::array();
        for (const auto& size : source->sizes) {
            const VX_Area& a = size->printable_area();
            sizes.push_back({{"name", utf8(size->name())},
                             {"width", size->width()},
                             {"length", size->length()},
                             {"printable", {a.x_min, a.y_min, a.x_max, a.y_max}},
                             {"units", size->units()}});
        }
        sources.push_back({{"name", utf8(source->name())},
                           {"description", utf8(source->description())},
                           {"sizes", sizes}});
    }
    out["media_sources"] = sources;
    json settings = json::array();
    for (const auto& entry : caps.get_res_color_mem_capabilities()->entries())
        settings.push_back({{"name", utf8(entry->name())},
                            {"dpi", {entry->resolution().first, entry->resolution().second}},
                            {"color_depth", entry->color_depth()},
                            {"color_system", entry->color_system()}});
    out["res_color_mem"] = settings;
    json custom = json::array();
    for (const auto& capability : caps.get_custom_capabilities()->all())
        custom.push_back({{"name", utf8(capability->name())},
                          {"kind", kind_name(capability->kind())},
                          {"default", capability->default_value()}});
    out["custom_capabilities"] = custom;
    json pairs = json::array();
    for (auto [kind, value] : caps.get_io_capabilities()->option_pairs())
        pairs.push_back({kind, value});
    out["io_option_pairs"] = pairs;
    return out;
}

json description(const Host_Session& session) {
    json out = identity(session.definition());
    out["driver"] = session.driver_path().string();
    out["capabilities"] = capabilities(*session.definition().get_plotter_capabilities());
    return out;
}

std::string fixed(double value) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(2) << value;
    return text.str();
}

void write_field(std::ostream& out, const char* label, const std::string& value) {
    out << std::left << std::setw(18) << label << value << '\n';
}

} // namespace

void describe_json(const Host_Session& session, std::ostream& out) {
    out << description(session).dump(2) << '\n';
}

void describe_text(const Host_Session& session, std::ostream& out) {
    json d = description(session);
    write_field(out, "Driver:", d["driver"]);
    write_field(out, "Version:", d["version"]);
    std::ostringstream quoted;
    quoted << std::quoted(d["description"].get<std::string>());
    write_field(out, "Description:", quoted.str());
    write_field(out, "Family:",
                d["family"]["name"].get<std::string>() + " - " +
                    d["family"]["description"].get<std::string>());
    write_field(out, "Model:",
                d["model"]["name"].get<std::string>() + " - " +
                    d["model"]["description"].get<std::string>());
    write_field(out, "Driver locale:", d["model"]["driver_locale"]);
    write_field(out, "System:", d["model"]["os"]);
    if (d.contains("help"))
        write_field(out, "Help:",
                    d["help"]["file"].get<std::string>() + " (" +
                        d["help"]["topic"].get<std::string>() + ")");
    write_field(out, "Settings dialog:",
                d["custom_configuration_dialog"].get<bool>() ? "available" : "none");

    const json& caps = d["capabilities"];
    out << "\nMedia sources:\n";
    for (const auto& source : caps["media_sources"]) {
        out << "  " << source["name"].get<std::string>() << "  "
            << source["description"].get<std::string>() << '\n';
        for (const auto& size : source["sizes"]) {
            const json& a = size["printable"];
            out << "      " << std::left << std::setw(34) << size["name"].get<std::string>()
                << std::right << std::setw(7) << fixed(size["width"]) << " x " << std::setw(7)
                << fixed(size["length"]) << " mm   printable " << fixed(a[0]) << ", " << fixed(a[1])
                << " to " << fixed(a[2]) << ", " << fixed(a[3]) << '\n';
        }
    }
    out << "\nResolution, colour and memory settings:\n";
    int index = 0;
    for (const auto& entry : caps["res_color_mem"])
        out << "  " << std::setw(2) << index++ << "  " << std::setw(4)
            << entry["dpi"][0].get<double>() << " x " << std::setw(4) << std::left
            << entry["dpi"][1].get<double>() << std::right << " dpi  depth " << std::setw(4)
            << entry["color_depth"].get<int>() << "  system " << entry["color_system"].get<int>()
            << "  " << entry["name"].get<std::string>() << '\n';
    out << "\nCustom capabilities:\n";
    for (const auto& capability : caps["custom_capabilities"])
        out << "  " << std::left << std::setw(32) << capability["name"].get<std::string>()
            << std::setw(8) << capability["kind"].get<std::string>() << std::right << " default "
            << capability["default"].get<int>() << '\n';
    out << "\nI/O option pairs:";
    for (const auto& pair : caps["io_option_pairs"])
        out << " (" << pair[0] << ", " << pair[1] << ")";
    out << '\n';
}
