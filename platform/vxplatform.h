// The platform layer: the operating-system services the host framework and the driver use,
// written for POSIX in the shape the driver expects of them (module handles, resource strings,
// version blocks, message boxes, split file names).
//
// Resource libraries and version blocks are our own formats on ELF:
//  - a resource library is a shared object that exports the C symbol `vxp_resources` (a
//    Resource_Table) and is loaded like any other library;
//  - a module's version block is the text held in its ELF section ".vxversion", read from the file
//    by name without loading it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#define VXP_API __attribute__((visibility("default")))

namespace vxp {

/// A loaded shared object. Null means "no module".
using Module_Handle = void*;
/// A window of the host; the platform only passes it on.
using Window_Handle = struct Window*;

// ---------------------------------------------------------------------------------------------
// Modules

/// Loads the shared object at `path` and runs its start-up. Null when the file cannot be loaded or
/// when its start-up refused the load (refuse_module_load); last_load_error() then says why.
VXP_API Module_Handle load_library(const std::string& path);
/// Releases a module obtained from load_library. Null is ignored.
VXP_API void free_library(Module_Handle module);
/// Address of the exported symbol `name`, or null when the module does not export it.
VXP_API void* get_proc_address(Module_Handle module, const char* name);
/// Why the last load_library on this thread returned null.
VXP_API std::string last_load_error();
/// Called by a module's start-up to refuse being loaded: the load_library that is loading it
/// unloads it again and returns null.
VXP_API void refuse_module_load(const std::string& reason);
/// The module whose code or data holds `address`, or null. Takes no reference.
VXP_API Module_Handle module_of_address(const void* address);
/// Full file name of the running program (the process's main module); empty when unknown.
VXP_API std::wstring program_file_name();
/// Names the program file for a host that runs a driver installed elsewhere than beside its own
/// executable (a test host); an empty name goes back to the real one.
VXP_API void set_program_file_name(const std::wstring& name);
/// Copies the full file name of `module` into `buffer` (at most `size` characters, terminated when
/// it fits). Returns the number of characters copied without the terminator; `size` when the name
/// was cut; 0 when the module is unknown.
VXP_API std::size_t get_module_file_name(Module_Handle module, wchar_t* buffer, std::size_t size);

// ---------------------------------------------------------------------------------------------
// File names. POSIX has no drive: the drive part is always empty and '/' separates folders.

struct Split_Path {
    std::wstring drive;     ///< always empty on POSIX
    std::wstring directory; ///< with its trailing '/', empty when the name has no folder
    std::wstring base_name; ///< file name without its extension
    std::wstring extension; ///< with its leading '.', empty when there is none
};
/// Splits a file name into drive, folder, base name and extension.
VXP_API Split_Path split_path(std::wstring_view path);
/// Composes a file name: a '/' is put between a folder and the file name when the folder does not
/// end with one, a '.' before an extension that lacks it.
VXP_API std::wstring make_path(std::wstring_view drive, std::wstring_view directory,
                               std::wstring_view base_name, std::wstring_view extension);

// ---------------------------------------------------------------------------------------------
// Files

/// Replaces the file at `path` with `bytes` so that a reader sees the old content or the new one,
/// never a part: the bytes go to a new file in the same folder, are flushed to disk and renamed
/// over `path`, keeping an existing file's permissions. False, with `path` as it was, when the file
/// exists but is write-protected, when the folder is write-protected or gone, or when the disk is
/// full.
VXP_API bool write_file_atomically(const std::string& path, std::string_view bytes);
/// Renames the file at `path` to the first free name of "<path>.bak", "<path>.bak2", ... and
/// returns that name; nothing when it cannot be renamed.
VXP_API std::optional<std::string> keep_file_aside(const std::string& path);

// ---------------------------------------------------------------------------------------------
// Text

/// UTF-8 of a wide text. Code points that are not valid become U+FFFD.
VXP_API std::string to_utf8(std::wstring_view text);
/// Wide text of UTF-8 bytes. Malformed sequences become U+FFFD.
VXP_API std::wstring from_utf8(std::string_view text);
/// The text in code page 1252 (Western European); characters it lacks become '?'.
VXP_API std::string to_code_page_1252(std::wstring_view text);
/// File name of a wide path for the POSIX calls (UTF-8).
inline std::string native_path(std::wstring_view path) {
    return to_utf8(path);
}

// ---------------------------------------------------------------------------------------------
// Resources

/// One entry of a resource library's string table.
struct String_Resource {
    unsigned id;
    const wchar_t* text;
};

/// A control of a dialog template; rectangles are in dialog units.
struct Control_Resource {
    int id;
    const char* kind; ///< "static", "picture", "progress", "button", ...
    const wchar_t* text;
    int x, y, width, height;
};

/// A dialog template: its id, caption, size in dialog units, font and controls.
struct Dialog_Resource {
    unsigned id;
    const wchar_t* caption;
    int width, height;
    const wchar_t* font;
    int font_size;
    const Control_Resource* controls;
    std::size_t control_count;
};

/// What a resource library exports under the name `vxp_resources`.
struct Resource_Table {
    std::uint32_t format;      ///< resource_table_format
    std::uint32_t language_id; ///< the language the resources are written in (1033 English, ...)
    const String_Resource* strings;
    std::size_t string_count;
    const Dialog_Resource* dialogs;
    std::size_t dialog_count;
};
inline constexpr std::uint32_t resource_table_format = 2;

/// The text of string `id` in the resource library `module`; nothing when the module is null,
/// carries no resource table, or has no such string.
VXP_API std::optional<std::wstring> load_string(Module_Handle module, unsigned id);
/// The dialog template `id` of the resource library `module`, or null.
VXP_API const Dialog_Resource* find_dialog(Module_Handle module, unsigned id);

// ---------------------------------------------------------------------------------------------
// Modeless windows

/// A modeless dialog made from a template, with progress bars created in it at run time. The
/// headless back end records what the window shows (tests read it back through shown_windows())
/// and, when standard error is a terminal, draws the progress bars there.
class VXP_API Modeless_Window {
public:
    /// Opens the window of template `id` of `module`, owned by `owner`; a window without a
    /// template opens with an empty caption and no controls.
    Modeless_Window(Module_Handle module, unsigned id, Window_Handle owner);
    ~Modeless_Window();
    Modeless_Window(const Modeless_Window&) = delete;
    Modeless_Window& operator=(const Modeless_Window&) = delete;

    void set_caption(const std::wstring& text);
    void set_item_text(int control, const std::wstring& text);
    /// A progress bar at (x, y) pixels, `width` x `height`; returns its number.
    int add_progress_bar(int x, int y, int width, int height);
    /// Ranges are 16-bit: a value above 65535 is taken modulo 65536.
    void set_range(int bar, int low, int high);
    void set_step(int bar, int step);
    void set_position(int bar, int position);
    /// Advances the bar by its step, wrapping to the low end past the high end.
    void step(int bar);
    void close();

private:
    int m_record;
};

/// What a headless modeless window showed.
struct Shown_Window {
    unsigned template_id;
    Window_Handle owner;
    std::wstring caption;
    std::vector<std::pair<int, std::wstring>> item_texts; ///< controls and their current texts
    struct Bar {
        int x, y, width, height, low, high, step, position;
        int steps_taken; ///< how often step() was called
    };
    std::vector<Bar> bars;
    bool closed;
};

/// Where Qt modeless windows save a picture of themselves, "<template id>.png", as they close
/// (empty: nowhere).
VXP_API void set_window_picture_folder(const std::string& folder);

/// Every modeless window opened since the last clear, oldest first.
VXP_API std::vector<Shown_Window> shown_windows();
VXP_API void clear_shown_windows();

// ---------------------------------------------------------------------------------------------
// Version blocks

/// The version block of a module file: "key=value" lines and the translation list.
class VXP_API Version_Block {
public:
    /// Parses the text of a version block; nothing when it is not one.
    static std::optional<Version_Block> parse(std::string_view text);
    /// Value of a key such as "FileVersion"; nothing when absent.
    std::optional<std::string> value(std::string_view key) const;
    /// The translation list: each entry is code page << 16 | language id, as the platform's
    /// "\VarFileInfo\Translation" query gives it. Empty when the block has none.
    const std::vector<std::uint32_t>& translations() const { return m_translations; }

private:
    std::vector<std::pair<std::string, std::string>> m_values;
    std::vector<std::uint32_t> m_translations;
};

/// Reads the version block of the module file at `path` without loading it. Nothing when the file
/// cannot be read, is not an ELF shared object, or carries no ".vxversion" section.
VXP_API std::optional<Version_Block> read_version_block(const std::string& path);

// ---------------------------------------------------------------------------------------------
// Operating system

struct Os_Version {
    int platform_id; ///< platform_posix
    int major;
    int minor;
};
inline constexpr int platform_posix = 3;
/// Platform id and kernel version of the running system.
VXP_API Os_Version os_version();

// ---------------------------------------------------------------------------------------------
// Message boxes

enum Message_Box_Flags : unsigned {
    mb_ok = 0x0,
    mb_ok_cancel = 0x1,
    mb_yes_no = 0x4,
    mb_icon_error = 0x10,
    mb_icon_question = 0x20,
    mb_icon_warning = 0x30,
    mb_icon_information = 0x40,
};
enum Message_Box_Result : int { id_ok = 1, id_cancel = 2, id_yes = 6, id_no = 7 };

/// What a message box showed, as the headless back end records it.
struct Shown_Message_Box {
    Window_Handle owner;
    std::wstring text;
    std::wstring caption;
    unsigned flags;
};

/// Shows a message box and waits for the answer. The headless back end records it, writes
/// "caption: text" (or the text alone) to standard error and answers with the first queued answer,
/// else OK (or Yes).
VXP_API int message_box(Window_Handle owner, const std::wstring& text, const std::wstring& caption,
                        unsigned flags);
/// Every message box shown since the last clear, oldest first.
VXP_API std::vector<Shown_Message_Box> shown_message_boxes();
VXP_API void clear_shown_message_boxes();
/// Queues the answer the next headless message box gives.
VXP_API void queue_message_box_answer(int answer);
/// Whether headless message boxes are echoed to standard error (default: yes).
VXP_API void set_message_box_echo(bool echo);

} // namespace vxp
