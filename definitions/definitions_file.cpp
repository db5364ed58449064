// The advanced definitions file on disk: read at every opening of the settings dialog, rewritten
// at every confirmation. A file the dialog cannot use is kept aside before the defaults replace
// it, and every write replaces the file atomically, so the user's table is never lost to a crash,
// a full disk or a damaged file.
#include "definitions.h"

#include <fstream>
#include <unistd.h>

namespace {

enum class Read_Status { missing, unreadable, too_large, read };

// Reads the whole file into `text` (the definitions text buffer, no allocation).
Read_Status read_file(const std::filesystem::path& file, Definitions_Text& text,
                      std::uintmax_t& size) {
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return Read_Status::missing;
    std::ifstream in(file, std::ios::binary);
    size = std::filesystem::file_size(file, error);
    if (!in || error)
        return Read_Status::unreadable;
    if (size >= Definitions_Text::capacity)
        return Read_Status::too_large;
    std::array<char, Definitions_Text::capacity> bytes;
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    text.assign(std::string_view(bytes.data(), static_cast<std::size_t>(in.gcount())));
    return Read_Status::read;
}

} // namespace

Definitions_Paths DefinitionsPaths(const std::filesystem::path& module_file_name) {
    Definitions_Paths paths;
    paths.driver_directory = module_file_name.parent_path();
    paths.file = paths.driver_directory / definitions_file_name;
    return paths;
}

Opening_Result ReadDefinitionsAtOpening(const std::filesystem::path& file, PaperBlockStore& store,
                                        Definitions_Text& text,
                                        const std::function<void()>& show_incorrect) {
    Opening_Result result;
    std::uintmax_t size = 0;
    Read_Status status = read_file(file, text, size);
    if (status == Read_Status::read) {
        result.faults = CheckDefinitions(text.view());
        result.file_valid = result.faults.empty();
    } else if (status == Read_Status::too_large) {
        result.faults.push_back("the file holds " + std::to_string(size) + " bytes, more than " +
                                std::to_string(Definitions_Text::capacity - 1));
    }
    if (!result.file_valid) {
        if (!result.faults.empty() && show_incorrect)
            show_incorrect();
        ComposeDefinitionsText(text);
        // An existing file the dialog cannot use is the user's last table: keep it.
        std::string name = file.string();
        if (status != Read_Status::missing && access(name.c_str(), W_OK) == 0) {
            if (auto backup = vxp::keep_file_aside(name))
                result.backup = *backup;
        }
        result.defaults_written = (status == Read_Status::missing || result.backup) &&
                                  vxp::write_file_atomically(name, text.view());
    }
    ExtractAllPaperBlocks(text.view(), store);
    return result;
}

bool RewriteDefinitionsAtConfirmation(const std::filesystem::path& file,
                                      const PaperBlockStore& store, Definitions_Text& text) {
    ComposeDefinitionsText(text, store);
    return vxp::write_file_atomically(file.string(), text.view());
}

Definitions_State& TheDefinitionsState() {
    static Definitions_State state;
    return state;
}
