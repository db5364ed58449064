// The host's capabilities loader: reads the "Capabilities" node of a driver's model data file,
// checks all of it, and only then fills the definition's capabilities. A description with faults
// is reported whole (every fault, each with where it was found) and changes nothing.
#include "host/vx_language.h"
#include "model_data_p.h"
#include "named_p.h"

#include <cmath>
#include <limits>
#include <set>

namespace {

const char* const load_routine = "PM_DRC_Caps_Loader::Load";

struct Loaded {
    std::vector<VX_Smart_Pointer<VX_Media_Source>> sources;
    std::vector<VX_Smart_Pointer<VX_ResColorMem>> settings;
    std::vector<VX_Smart_Pointer<VX_Custom_Capability>> custom;
};

class Reader {
public:
    std::vector<std::string> faults;

    Loaded read(const json& caps) {
        Loaded loaded;
        read_media(member(caps, "Media", "Capabilities"), loaded);
        read_settings(member(caps, "ResColorMem", "Capabilities"), loaded);
        read_custom(member(caps, "Custom", "Capabilities"), loaded);
        return loaded;
    }

private:
    const json* member(const json& node, const char* name, const std::string& where) {
        auto it = node.find(name);
        if (it == node.end()) {
            faults.push_back(where + " lacks \"" + name + "\"");
            return nullptr;
        }
        return &*it;
    }

    std::optional<double> number(const json& node, const char* name, const std::string& where) {
        const json* value = member(node, name, where);
        if (!value)
            return std::nullopt;
        if (!value->is_number() || !std::isfinite(value->get<double>())) {
            faults.push_back(where + "\\" + name + " is not a number");
            return std::nullopt;
        }
        return value->get<double>();
    }

    std::optional<std::int32_t> integer(const json& value, const std::string& where) {
        using limits = std::numeric_limits<std::int32_t>;
        if (!value.is_number_integer() || value.get<long long>() < limits::min() ||
            value.get<long long>() > limits::max()) {
            faults.push_back(where + " is not a 32-bit integer");
            return std::nullopt;
        }
        return static_cast<std::int32_t>(value.get<long long>());
    }

    std::optional<std::string> name_of(const json& node, const std::string& where,
                                       std::set<std::string>& seen) {
        const json* name = member(node, "name", where);
        if (!name)
            return std::nullopt;
        if (!name->is_string() || name->get<std::string>().empty()) {
            faults.push_back(where + "\\name is not a non-empty text");
            return std::nullopt;
        }
        if (!seen.insert(name->get<std::string>()).second) {
            faults.push_back(where + " repeats the name \"" + name->get<std::string>() + "\"");
            return std::nullopt;
        }
        return name->get<std::string>();
    }

    void read_media(const json* media, Loaded& loaded) {
        if (!media)
            return;
        if (!media->is_object() || media->empty()) {
            faults.push_back("Capabilities\\Media has no sources");
            return;
        }
        for (auto it = media->begin(); it != media->end(); ++it) {
            std::string where = "Capabilities\\Media\\" + it.key();
            if (!it->is_object()) {
                faults.push_back(where + " is not a node");
                continue;
            }
            std::string description = it->value("description", json("")).is_string()
                                          ? it->value("description", std::string())
                                          : std::string();
            auto source =
                vx_make<VX_Media_Source>(vxp::from_utf8(it.key()), vxp::from_utf8(description));
            const json* sizes = member(*it, "sizes", where);
            if (sizes && (!sizes->is_array() || sizes->empty()))
                faults.push_back(where + "\\sizes is not a list of sizes");
            else if (sizes)
                read_sizes(*sizes, where, *source);
            loaded.sources.push_back(source);
        }
    }

    void read_sizes(const json& sizes, const std::string& source_where, VX_Media_Source& source) {
        std::set<std::string> seen;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            const json& size = sizes[i];
            std::string where = source_where + "\\sizes[" + std::to_string(i) + "]";
            if (!size.is_object()) {
                faults.push_back(where + " is not a node");
                continue;
            }
            auto name = name_of(size, where, seen);
            if (name)
                where += " (" + *name + ")";
            auto width = number(size, "width", where);
            auto length = number(size, "length", where);
            auto area = printable_area(size, where);
            std::int32_t units = 1;
            if (auto it = size.find("units"); it != size.end()) {
                auto value = integer(*it, where + "\\units");
                if (value && (*value < 0 || *value > 255))
                    faults.push_back(where + "\\units " + std::to_string(*value) +
                                     " is outside 0 to 255");
                units = value.value_or(1);
            }
            if (!name || !width || !length || !area)
                continue;
            if (*width <= 0 || *length <= 0) {
                faults.push_back(where + " has a paper size " + std::to_string(*width) + " x " +
                                 std::to_string(*length) + " that is not positive");
                continue;
            }
            if (area->x_min < 0 || area->y_min < 0 || area->x_min >= area->x_max ||
                area->y_min >= area->y_max || area->x_max > *width || area->y_max > *length) {
                faults.push_back(where + " has a printable area that is empty or outside the " +
                                 std::to_string(*width) + " x " + std::to_string(*length) +
                                 " mm paper");
                continue;
            }
            source.sizes.push_back(vx_make<VX_Media_Size>(vxp::from_utf8(*name), *width, *length,
                                                          *area, static_cast<std::uint8_t>(units)));
        }
    }

    std::optional<VX_Area> printable_area(const json& size, const std::string& where) {
        const json* area = member(size, "printable", where);
        if (!area)
            return std::nullopt;
        if (!area->is_array() || area->size() != 4 ||
            !std::all_of(area->begin(), area->end(), [](const json& v) { return v.is_number(); })) {
            faults.push_back(where + "\\printable is not [x min, y min, x max, y max]");
            return std::nullopt;
        }
        return VX_Area{(*area)[0].get<double>(), (*area)[1].get<double>(), (*area)[2].get<double>(),
                       (*area)[3].get<double>()};
    }

    void read_settings(const json* settings, Loaded& loaded) {
        if (!settings)
            return;
        if (!settings->is_array() || settings->empty()) {
            faults.push_back("Capabilities\\ResColorMem is not a list of settings");
            return;
        }
        for (std::size_t i = 0; i < settings->size(); ++i) {
            const json& entry = (*settings)[i];
            std::string where = "Capabilities\\ResColorMem[" + std::to_string(i) + "]";
            if (!entry.is_object()) {
                faults.push_back(where + " is not a node");
                continue;
            }
            const json* dpi = member(entry, "dpi", where);
            const json* depth = member(entry, "depth", where);
            const json* system = member(entry, "system", where);
            bool dpi_ok = dpi && dpi->is_array() && dpi->size() == 2 && (*dpi)[0].is_number() &&
                          (*dpi)[1].is_number() && (*dpi)[0].get<double>() > 0 &&
                          (*dpi)[1].get<double>() > 0;
            if (dpi && !dpi_ok)
                faults.push_back(where + "\\dpi is not [x, y] with positive resolutions");
            auto depth_code = depth ? integer(*depth, where + "\\depth") : std::nullopt;
            auto system_code = system ? integer(*system, where + "\\system") : std::nullopt;
            if (system_code && (*system_code < 0 || *system_code > 2)) {
                faults.push_back(where + "\\system " + std::to_string(*system_code) +
                                 " is not 0 (palette), 1 (true colour) or 2 (bitonal)");
                system_code.reset();
            }
            if (!dpi_ok || !depth_code || !system_code)
                continue;
            std::string name = entry.value("name", json("")).is_string()
                                   ? entry.value("name", std::string())
                                   : std::string();
            loaded.settings.push_back(vx_make<VX_ResColorMem>((*dpi)[0].get<double>(),
                                                              (*dpi)[1].get<double>(), *depth_code,
                                                              *system_code, vxp::from_utf8(name)));
        }
    }

    void read_custom(const json* custom, Loaded& loaded) {
        if (!custom)
            return;
        if (!custom->is_array()) {
            faults.push_back("Capabilities\\Custom is not a list of capabilities");
            return;
        }
        std::set<std::string> seen;
        for (std::size_t i = 0; i < custom->size(); ++i) {
            const json& entry = (*custom)[i];
            std::string where = "Capabilities\\Custom[" + std::to_string(i) + "]";
            if (!entry.is_object()) {
                faults.push_back(where + " is not a node");
                continue;
            }
            auto name = name_of(entry, where, seen);
            if (name)
                where += " (" + *name + ")";
            const json* kind = member(entry, "kind", where);
            const json* default_value = member(entry, "default", where);
            std::optional<VX_Custom_Kind> kind_code;
            if (kind && *kind == "long")
                kind_code = VX_Custom_Kind::Long;
            else if (kind && *kind == "boolean")
                kind_code = VX_Custom_Kind::Boolean;
            else if (kind)
                faults.push_back(where + "\\kind is not \"long\" or \"boolean\"");
            auto value =
                default_value ? integer(*default_value, where + "\\default") : std::nullopt;
            if (name && kind_code && value)
                loaded.custom.push_back(
                    vx_make<VX_Custom_Capability>(vxp::from_utf8(*name), *kind_code, *value));
        }
    }
};

} // namespace

PM_DRC_Caps_Loader::PM_DRC_Caps_Loader() = default;
PM_DRC_Caps_Loader::PM_DRC_Caps_Loader(VX_Smart_Pointer<VX_Error_Handler> handler)
    : VX_Caps_Loader(std::move(handler)) {}
PM_DRC_Caps_Loader::~PM_DRC_Caps_Loader() = default;

bool PM_DRC_Caps_Loader::Load(VX_Smart_Pointer<VX_Plotter_Definition> definition,
                              Load_Policy policy) {
    auto fail = [&](int message, const std::string& detail) {
        report(VX_Error(nullptr, message, load_routine, detail, ""));
        return false;
    };
    auto meta = definition ? definition->get_meta_capabilities() : nullptr;
    auto caps = definition ? definition->get_plotter_capabilities() : nullptr;
    if (!meta || !caps)
        return fail(vx_msg_capabilities_invalid,
                    "the plotter definition has no meta capabilities or no capabilities");
    auto media = caps->get_media_capabilities();
    auto settings = caps->get_res_color_mem_capabilities();
    auto custom = caps->get_custom_capabilities();
    if (!media || !settings || !custom)
        return fail(vx_msg_capabilities_invalid,
                    "the capabilities lack their media, resolution or custom area");

    VX_String file = PM_Model_Data_File_Name(meta->driver_path_name, GetLanguage());
    PM_Object model_data(nullptr);
    try {
        model_data.load(file, pm_file_type_drc, L'\\');
    } catch (const VX_Exception& e) {
        report(e);
        return false;
    }
    auto* description = static_cast<const json*>(model_data.find(L"\\Capabilities"));
    if (!description || !description->is_object())
        return fail(vx_msg_capabilities_invalid, vxp::to_utf8(file) + ": no \"Capabilities\" node");

    Reader reader;
    Loaded loaded = reader.read(*description);
    if (!reader.faults.empty()) {
        std::string detail = vxp::to_utf8(file) + ":";
        for (const auto& fault : reader.faults)
            detail += "\n  " + fault;
        return fail(vx_msg_capabilities_invalid, detail);
    }

    if (policy == Replace) {
        media->set_sources(std::move(loaded.sources));
        settings->set_entries(std::move(loaded.settings));
        custom->clear();
    } else {
        auto sources = media->sources();
        for (auto& source : loaded.sources)
            put_named(sources, std::move(source));
        media->set_sources(std::move(sources));
        auto entries = settings->entries();
        entries.insert(entries.end(), loaded.settings.begin(), loaded.settings.end());
        settings->set_entries(std::move(entries));
    }
    for (auto& capability : loaded.custom)
        custom->add(std::move(capability));
    return true;
}
