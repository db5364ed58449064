// Version blocks: a module file carries its version texts and translation list in the ELF section
// ".vxversion", as "key=value" lines. The section is found through the file's section headers, so
// the block is read by file name without loading the module, as the platform's version queries do.
//
// Block text:
//   VXVERSION 1
//   FileVersion=11.0.53.0.100
//   ...
//   Translation=0409:04B0[,0407:04B0...]     language id ':' code page, hexadecimal
#include "vxplatform.h"

#include <charconv>
#include <cstring>
#include <elf.h>
#include <fstream>

namespace vxp {
namespace {

constexpr std::string_view block_magic = "VXVERSION 1";
// NOTE: version blocks are a few hundred bytes; anything larger is not one of ours.
constexpr std::uint64_t max_block_size = 64 * 1024;

bool read_at(std::ifstream& file, std::uint64_t offset, void* out, std::size_t size) {
    file.seekg(static_cast<std::streamoff>(offset));
    file.read(static_cast<char*>(out), static_cast<std::streamsize>(size));
    return file.good();
}

std::optional<std::string> read_section(const std::string& path, std::string_view wanted) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    Elf64_Ehdr header{};
    if (!read_at(file, 0, &header, sizeof header) ||
        std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_DATA] != ELFDATA2LSB ||
        header.e_shentsize != sizeof(Elf64_Shdr) || header.e_shstrndx >= header.e_shnum)
        return std::nullopt;
    auto section = [&](unsigned index, Elf64_Shdr& out) {
        return read_at(file, header.e_shoff + std::uint64_t{index} * sizeof(Elf64_Shdr), &out,
                       sizeof out);
    };
    Elf64_Shdr names{};
    if (!section(header.e_shstrndx, names) || names.sh_size > max_block_size * 16)
        return std::nullopt;
    std::string name_table(names.sh_size, '\0');
    if (!read_at(file, names.sh_offset, name_table.data(), name_table.size()))
        return std::nullopt;
    for (unsigned i = 0; i < header.e_shnum; ++i) {
        Elf64_Shdr candidate{};
        if (!section(i, candidate))
            return std::nullopt;
        if (candidate.sh_name >= name_table.size())
            continue;
        std::string_view name(name_table.c_str() + candidate.sh_name);
        if (name != wanted)
            continue;
        if (candidate.sh_type == SHT_NOBITS || candidate.sh_size > max_block_size)
            return std::nullopt;
        std::string content(candidate.sh_size, '\0');
        if (!read_at(file, candidate.sh_offset, content.data(), content.size()))
            return std::nullopt;
        return content.substr(0, content.find('\0'));
    }
    return std::nullopt;
}

std::optional<std::uint16_t> parse_hex16(std::string_view text) {
    unsigned value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc{} || end != text.data() + text.size() || text.empty() || value > 0xFFFF)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

// "0409:04B0,0407:04B0" -> {0x04B00409, 0x04B00407}
std::optional<std::vector<std::uint32_t>> parse_translations(std::string_view text) {
    std::vector<std::uint32_t> list;
    while (!text.empty()) {
        std::size_t comma = text.find(',');
        std::string_view entry = text.substr(0, comma);
        std::size_t colon = entry.find(':');
        if (colon == std::string_view::npos)
            return std::nullopt;
        auto language = parse_hex16(entry.substr(0, colon));
        auto code_page = parse_hex16(entry.substr(colon + 1));
        if (!language || !code_page)
            return std::nullopt;
        list.push_back(std::uint32_t{*code_page} << 16 | *language);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    }
    return list;
}

} // namespace

std::optional<Version_Block> Version_Block::parse(std::string_view text) {
    std::size_t end = text.find('\n');
    if (text.substr(0, end) != block_magic)
        return std::nullopt;
    Version_Block block;
    while (end != std::string_view::npos) {
        text.remove_prefix(end + 1);
        end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.empty())
            continue;
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        std::string_view key = line.substr(0, equals), value = line.substr(equals + 1);
        if (key == "Translation") {
            auto list = parse_translations(value);
            if (!list)
                return std::nullopt;
            block.m_translations = std::move(*list);
        } else {
            block.m_values.emplace_back(key, value);
        }
    }
    return block;
}

std::optional<std::string> Version_Block::value(std::string_view key) const {
    for (const auto& [k, v] : m_values)
        if (k == key)
            return v;
    return std::nullopt;
}

std::optional<Version_Block> read_version_block(const std::string& path) {
    auto text = read_section(path, ".vxversion");
    if (!text)
        return std::nullopt;
    return Version_Block::parse(*text);
}

} // namespace vxp
