// Model data: the printer's model data file (".DRC") and the host's reader of it.
//
// A model data file is a JSON object. Its members are nodes (JSON objects) and properties (any
// other JSON value); nodes nest. A path names a node or property from the root with a separator
// before each name: "\DPIA_directory\qr7m\descriptor" with the separator '\'.
//
//   {
//     "DPIA_directory": { "qr7m": { "descriptor": "family|model", "info": "family|model" } },
//     "Capabilities": { ... see PM_DRC_Caps_Loader ... }
//   }
//
// A compound text holds its parts separated by '|' (extract_compound_str_ex).
#pragma once

#include "vx_plotter.h"

#include <memory>

/// File type of a model data file for PM_Object::load.
inline constexpr int pm_file_type_drc = 5;

/// Node types PM_Iterator::nextNode reports.
enum PM_Node_Type : int {
    pm_node_directory = 1, ///< a node with members
    pm_node_text = 2,      ///< a text property
    pm_node_value = 3,     ///< a property of another kind (number, flag, list)
};

/// Iterates the members of one node, in file order.
class VX_API PM_Iterator : public VX_Object {
public:
    PM_Iterator(std::vector<std::pair<std::string, int>> members) : m_members(std::move(members)) {}
    ~PM_Iterator() override;
    /// The next member's name and type; false when there is none left.
    bool nextNode(VX_String& name, int& type);

private:
    std::vector<std::pair<std::string, int>> m_members;
    std::size_t m_next = 0;
};

/// The host's reader of model data files.
class VX_API PM_Object : public VX_Object {
public:
    explicit PM_Object(VX_Smart_Pointer<VX_Error_Handler> handler);
    ~PM_Object() override;

    /// Reads the file. Throws VX_Error (host message 1000 when it cannot be read, 1001 when it is
    /// not well-formed, with the file name, line and column in the detail; 1002 for a file type
    /// other than pm_file_type_drc).
    void load(const VX_String& path, int file_type, wchar_t separator);
    /// An iterator over the members of the node at `path`; null when there is no such node.
    /// `flags` 1 asks for the direct members only (the only kind offered).
    VX_Smart_Pointer<PM_Iterator> newIterator(const VX_String& path, int flags) const;
    /// Bytes needed to read the property at `path` as text, its terminator included; 0 when there
    /// is no such property. `index` -1 names the property itself.
    long getPropertySize(const VX_String& path, int index) const;
    /// Copies at most `size` bytes of the property's text (UTF-8) into `buffer`; returns the count
    /// copied, 0 when there is no such property.
    long GetProperty(const VX_String& path, char* buffer, long size, int index) const;

private:
    friend class PM_DRC_Caps_Loader; // reads the capability description as a whole
    struct Document;
    const void* find(const VX_String& path) const;

    VX_Smart_Pointer<VX_Error_Handler> m_error_handler;
    std::shared_ptr<Document> m_document;
    wchar_t m_separator = L'\\';
};

/// Splits a compound text "a|b|..." into its first `count` parts; false when it has fewer parts.
/// Further parts stay joined to the last one.
VX_API bool extract_compound_str_ex(const std::string& text, int count,
                                    std::vector<std::string>& parts);

/// The model data file of a driver module: beside the module, in the folder named by the host's
/// language, the module's base name with the extension ".DRC".
VX_API VX_String PM_Model_Data_File_Name(const VX_String& driver_path_name,
                                         const VX_String& language);

/// The host's capabilities loader: reads the "Capabilities" node of the model data file of the
/// definition's driver (PM_Model_Data_File_Name of the meta capabilities' driver path name) and
/// fills the definition's media, resolution/colour/memory and custom capabilities.
///
///   "Capabilities": {
///     "Media": { "P0": { "description": "Roll Paper", "sizes": [
///         { "name": "A4_Roll_Paper_Portrait", "width": 210.0, "length": 297.0,
///           "printable": [2.96, 2.96, 206.99, 293.98], "units": 1 }, ... ] }, ... },
///     "ResColorMem": [ { "name": "...", "dpi": [360, 360], "depth": 256, "system": 0 }, ... ],
///     "Custom": [ { "name": "GammaMode_360", "kind": "long", "default": 0 }, ... ]
///   }
///
/// Every fault of the description is collected and reported at once; nothing is filled then.
class VX_API PM_DRC_Caps_Loader : public VX_Caps_Loader {
public:
    PM_DRC_Caps_Loader();
    explicit PM_DRC_Caps_Loader(VX_Smart_Pointer<VX_Error_Handler> handler);
    ~PM_DRC_Caps_Loader() override;
    bool Load(VX_Smart_Pointer<VX_Plotter_Definition> definition, Load_Policy policy) override;
};
