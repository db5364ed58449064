#include "plot_config.h"

#include "host/vx_language.h"

#include <fstream>
#include <sstream>

namespace {

using nlohmann::json;

struct Mode {
    const char* name;
    std::int32_t depth; ///< the colour depth code of the model data file
};
constexpr Mode modes[] = {
    {"color256", 256}, {"color", 4}, {"gray256", -256}, {"gray", -4}, {"mono", -2},
};

std::string utf8(const VX_String& text) {
    return vxp::to_utf8(text);
}

std::string mode_names() {
    std::string names;
    for (const Mode& m : modes)
        names += (names.empty() ? "" : ", ") + std::string(m.name);
    return names;
}

VX_Smart_Pointer<VX_Media_Source> find_source(const VX_Plotter_Definition& d,
                                              const std::string& name) {
    auto media = d.get_plotter_capabilities()->get_media_capabilities();
    return media ? media->find_source(vxp::from_utf8(name)) : nullptr;
}

std::string source_names(const VX_Plotter_Definition& d) {
    std::string names;
    for (const auto& s : d.get_plotter_capabilities()->get_media_capabilities()->sources())
        names += (names.empty() ? "" : ", ") + utf8(s->name());
    return names;
}

std::string size_names(const VX_Media_Source& source) {
    std::string names;
    for (const auto& s : source.sizes)
        names += (names.empty() ? "" : ", ") + utf8(s->name());
    return names;
}

// The index of the resolution/colour setting for (dpi, mode), or -1.
std::int32_t setting_index(const VX_Plotter_Definition& d, int dpi, const std::string& mode) {
    const Mode* wanted = nullptr;
    for (const Mode& m : modes)
        if (mode == m.name)
            wanted = &m;
    if (!wanted)
        return -1;
    const auto& entries = d.get_plotter_capabilities()->get_res_color_mem_capabilities()->entries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i]->resolution().first == dpi && entries[i]->color_depth() == wanted->depth)
            return std::int32_t(i);
    return -1;
}

json custom_value(const VX_Custom_Capability& capability, const json& value,
                  const std::string& key) {
    switch (capability.kind()) {
    case VX_Custom_Kind::Boolean:
        if (!value.is_boolean())
            throw Config_Error("custom item " + key + " must be true or false, not " +
                               value.dump());
        return value;
    case VX_Custom_Kind::Long:
        if (!value.is_number_integer() || value.get<std::int64_t>() < INT32_MIN ||
            value.get<std::int64_t>() > INT32_MAX)
            throw Config_Error("custom item " + key + " must be a whole number, not " +
                               value.dump());
        return value;
    default:
        throw Config_Error("custom item " + key + " is of a kind vxplot cannot set");
    }
}

} // namespace

json default_plot_config(const VX_Plotter_Definition& d) {
    auto source = d.get_plotter_capabilities()->get_media_capabilities()->sources().at(0);
    json custom = json::object();
    for (const auto& c : d.get_plotter_capabilities()->get_custom_capabilities()->all()) {
        if (c->kind() == VX_Custom_Kind::Boolean)
            custom[utf8(c->name())] = c->default_value() != 0;
        else if (c->kind() == VX_Custom_Kind::Long)
            custom[utf8(c->name())] = c->default_value();
    }
    return {{"language", vxp::to_utf8(GetLanguage())},
            {"source", utf8(source->name())},
            {"size", utf8(source->sizes.at(0)->name())},
            {"dpi", 360},
            {"mode", "color"},
            {"copies", 1},
            {"plot_to_file", ""},
            {"user_size", nullptr},
            {"custom", custom}};
}

json checked_plot_config(const VX_Plotter_Definition& d, json config) {
    if (!config.is_object())
        throw Config_Error("a plot configuration must be a JSON object");
    json out = default_plot_config(d);
    for (auto& [key, value] : config.items()) {
        if (!out.contains(key))
            throw Config_Error("unknown key \"" + key +
                               "\"; the keys are language, source, size, dpi, mode, copies, "
                               "plot_to_file, user_size and custom");
        if (key == "custom") {
            if (!value.is_object())
                throw Config_Error("\"custom\" must be an object of custom items");
            for (auto& [item, item_value] : value.items()) {
                auto capability = d.get_plotter_capabilities()->get_custom_capabilities()->find(
                    vxp::from_utf8(item));
                if (!capability)
                    throw Config_Error("unknown custom item \"" + item + "\"");
                out["custom"][item] = custom_value(*capability, item_value, item);
            }
        } else {
            out[key] = value;
        }
    }
    if (!out["source"].is_string() || !find_source(d, out["source"].get<std::string>()))
        throw Config_Error("source " + out["source"].dump() + " is not offered; the sources are " +
                           source_names(d));
    auto source = find_source(d, out["source"].get<std::string>());
    if (!out["size"].is_string() ||
        !source->find_size(vxp::from_utf8(out["size"].get<std::string>())))
        throw Config_Error("size " + out["size"].dump() + " is not offered by source " +
                           out["source"].get<std::string>() + "; its sizes are " +
                           size_names(*source));
    if (!out["dpi"].is_number_integer() ||
        (out["dpi"].get<int>() != 360 && out["dpi"].get<int>() != 720))
        throw Config_Error("dpi must be 360 or 720, not " + out["dpi"].dump());
    if (!out["mode"].is_string() ||
        setting_index(d, out["dpi"].get<int>(), out["mode"].get<std::string>()) < 0)
        throw Config_Error("mode " + out["mode"].dump() + " is not offered; the modes are " +
                           mode_names());
    if (!out["copies"].is_number_integer() || out["copies"].get<int>() < 1 ||
        out["copies"].get<int>() > 999)
        throw Config_Error("copies must be a whole number from 1 to 999, not " +
                           out["copies"].dump());
    if (!out["plot_to_file"].is_string())
        throw Config_Error("plot_to_file must be a file name or \"\"");
    const json& language = out["language"];
    if (!language.is_string() || language.get<std::string>().empty() ||
        language.get<std::string>().size() > 16 ||
        language.get<std::string>().find_first_not_of(
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-") != std::string::npos)
        throw Config_Error("language must be a language name such as de-DE, not " +
                           language.dump());
    const json& user = out["user_size"];
    if (!user.is_null()) {
        if (out["size"] != "UserDefined")
            throw Config_Error("user_size is for the size UserDefined, not " + out["size"].dump());
        if (!user.is_array() || user.size() != 2 || !user[0].is_number() || !user[1].is_number() ||
            user[0].get<double>() < 10 || user[1].get<double>() < 10 ||
            user[0].get<double>() > 5000 || user[1].get<double>() > 5000)
            throw Config_Error("user_size must be [width, length] in millimetres from 10 to 5000, "
                               "not " +
                               user.dump());
    }
    return out;
}

void set_plot_config(const VX_Plotter_Definition& d, json& config, const std::string& key,
                     const std::string& text) {
    json value;
    if (key == "dpi" || key == "copies") {
        try {
            std::size_t used = 0;
            value = std::stoi(text, &used);
            if (used != text.size())
                throw std::invalid_argument(text);
        } catch (const std::exception&) {
            throw Config_Error(key + " must be a whole number, not \"" + text + "\"");
        }
    } else if (key == "source" || key == "size" || key == "mode" || key == "plot_to_file" ||
               key == "language") {
        value = text;
    } else if (key == "user_size") {
        // WIDTHxLENGTH in millimetres, or "none".
        double width = 0, length = 0;
        char separator = 0;
        std::istringstream in(text);
        if (text == "none")
            value = nullptr;
        else if (in >> width >> separator >> length && separator == 'x' && in.peek() == EOF)
            value = {width, length};
        else
            throw Config_Error("user_size must be WIDTHxLENGTH in millimetres (such as 826x1167) "
                               "or none, not \"" +
                               text + "\"");
    } else {
        auto capability =
            d.get_plotter_capabilities()->get_custom_capabilities()->find(vxp::from_utf8(key));
        if (!capability)
            throw Config_Error(
                "unknown key \"" + key +
                "\"; the keys are language, source, size, dpi, mode, copies, "
                "plot_to_file, user_size and the custom items (vxplot config show lists them)");
        json parsed = json::parse(text, nullptr, false);
        json candidate = config;
        candidate["custom"][key] = parsed.is_discarded() ? json(text) : parsed;
        config = checked_plot_config(d, candidate);
        return;
    }
    json candidate = config;
    candidate[key] = value;
    // A new source keeps the size only when the source offers it too.
    if (key == "source" && find_source(d, text) &&
        !find_source(d, text)->find_size(vxp::from_utf8(candidate.value("size", ""))))
        candidate["size"] = utf8(find_source(d, text)->sizes.at(0)->name());
    config = checked_plot_config(d, candidate);
}

// The printable area: the size's, or for a user size the whole sheet.
VX_Area printable_area(const VX_Plotter_Definition& d, const json& config) {
    if (!config["user_size"].is_null())
        return {0, 0, config["user_size"][0].get<double>(), config["user_size"][1].get<double>()};
    return find_source(d, config["source"].get<std::string>())
        ->find_size(vxp::from_utf8(config["size"].get<std::string>()))
        ->printable_area();
}

void apply_plot_config(VX_Plotter_Definition& d, const json& config) {
    auto configuration = d.get_plotter_configuration();
    auto media = configuration->get_media_configuration();
    const std::wstring source = vxp::from_utf8(config["source"].get<std::string>());
    const std::wstring size_name = vxp::from_utf8(config["size"].get<std::string>());
    media->select(source, size_name);
    media->set_printable_area(printable_area(d, config));
    media->set_copies(config["copies"].get<int>());
    configuration->get_res_color_mem_configuration()->set_selected_index(
        setting_index(d, config["dpi"].get<int>(), config["mode"].get<std::string>()));
    auto custom = configuration->get_custom_configuration();
    for (auto& [key, value] : config["custom"].items()) {
        VX_Smart_Pointer<VX_Custom_Data> data;
        if (value.is_boolean())
            data = vx_make<VX_Std_Boolean_Custom_Data>(value.get<bool>() ? 1 : 0);
        else
            data = vx_make<VX_Std_Long_Custom_Data>(value.get<std::int32_t>());
        custom->add(vx_make<VX_Custom_Config_Item>(vxp::from_utf8(key), data));
    }
    d.get_shoebox()->plot_to_file_name = vxp::from_utf8(config["plot_to_file"].get<std::string>());
}

json read_plot_config(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in)
        throw Config_Error(file.string() + ": cannot be read");
    json config = json::parse(in, nullptr, false);
    if (config.is_discarded())
        throw Config_Error(file.string() + ": not JSON");
    return config;
}

void write_plot_config(const std::filesystem::path& file, const json& config) {
    if (!vxp::write_file_atomically(file.string(), config.dump(2) + "\n"))
        throw Config_Error(file.string() + ": cannot be written; the file was left as it was");
}

Host_Options with_configured_language(Host_Options host, const std::filesystem::path& file) {
    if (!host.language.empty() || file.empty())
        return host;
    std::ifstream in(file);
    json config = json::parse(in, nullptr, false);
    if (config.is_object() && config.contains("language") && config["language"].is_string())
        host.language = config["language"].get<std::string>();
    return host;
}
