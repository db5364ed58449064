// The plot configuration vxplot keeps in a JSON file: media source and size, resolution and
// colour mode, copies, plot-to-file name, and every custom item of the driver.
//
//   {"language": "en-US", "source": "P0", "size": "A2_Roll_Paper_Portrait", "dpi": 720,
//    "mode": "color",
//    "copies": 1, "plot_to_file": "", "user_size": null,
//    "custom": {"RASTER_ChangeColor": false, ...}}
//
// user_size, [width, length] in millimetres, is a sheet of the user's own size on the size
// UserDefined: its whole area is printable.
//
// The language is the host's: it chooses the driver build (and so the names of the sizes).
// Modes are the five colour modes of the model data file: color256, color, gray256, gray, mono.
#pragma once

#include "session.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

/// A configuration that cannot be used: the message names the key and what is wrong.
class Config_Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The configuration a new file starts with: the first size of P0, 360 dpi colour, one copy, and
/// the default of every custom capability of the model data file.
nlohmann::json default_plot_config(const VX_Plotter_Definition& definition);

/// Checks a configuration against what the printer offers; throws Config_Error. Missing keys
/// take their defaults (the result is complete).
nlohmann::json checked_plot_config(const VX_Plotter_Definition& definition, nlohmann::json config);

/// Sets one key ("source", "size", "dpi", "mode", "copies", "plot_to_file", "user_size" as
/// WIDTHxLENGTH or none, or a custom item's key) from its command-line text, checking it; throws
/// Config_Error.
void set_plot_config(const VX_Plotter_Definition& definition, nlohmann::json& config,
                     const std::string& key, const std::string& text);

/// Puts a checked configuration into the definition, as a host does before plotting: media,
/// printable area, copies, resolution/colour setting, custom items, plot-to-file name.
void apply_plot_config(VX_Plotter_Definition& definition, const nlohmann::json& config);

/// Reads a configuration file; throws Config_Error when it cannot be read.
nlohmann::json read_plot_config(const std::filesystem::path& file);

/// Writes a configuration file atomically (a temporary file beside it, then a rename).
void write_plot_config(const std::filesystem::path& file, const nlohmann::json& config);

/// The host options with the configuration file's language when none was given.
Host_Options with_configured_language(Host_Options host, const std::filesystem::path& file);
