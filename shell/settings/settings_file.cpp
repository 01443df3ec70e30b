#include "shell/settings/settings_file.h"

#include <array>
#include <fstream>

#include "shell/dataaccess/text_utils.h"
#include "shell/dataaccess/windows_1252.h"
#include "shell/settings/settings_error.h"
#include "shell/settings/settings_folder.h"

namespace talvers {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// A settings file is a few kilobytes; anything far larger is not one.
constexpr size_t kMaxSettingsBytes = 1024 * 1024;

// Each line on its own: a file saved as UTF-8 may carry one stray Windows-1252 byte (a comment
// pasted from an older file), and that must not change how the other lines read.
std::string lineToUtf8(std::string_view line) {
    return isValidUtf8(line) ? std::string(line) : windows1252ToUtf8(line);
}

// Lower case for ASCII letters and for the Latin-1 capitals U+00C0..U+00DE (but U+00D7, the
// multiplication sign), whose UTF-8 forms differ from the small letters by 0x20 in the second
// byte.
std::string folded(std::string_view name) {
    std::string out(name);
    for (size_t i = 0; i < out.size(); ++i) {
        const auto b = static_cast<unsigned char>(out[i]);
        if (b >= 'A' && b <= 'Z') {
            out[i] = static_cast<char>(b + 0x20);
        } else if (b == 0xC3 && i + 1 < out.size()) {
            const auto next = static_cast<unsigned char>(out[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97)
                out[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        }
    }
    return out;
}

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t";
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The value without a trailing comment: ';' after a blank or tab starts one.
std::string_view withoutComment(std::string_view value) {
    for (size_t i = 1; i < value.size(); ++i) {
        if (value[i] == ';' && (value[i - 1] == ' ' || value[i - 1] == '\t'))
            return value.substr(0, i);
    }
    return value;
}

std::string entryKey(std::string_view section, std::string_view key) {
    return folded(section) + '\n' + folded(key);
}

}  // namespace

SettingsFile SettingsFile::load(const std::filesystem::path& file) {
    const auto refuse = [&file](std::string_view why) {
        return SettingsError(
            SettingsErrorNumber::Unreadable,
            "O ficheiro de definições \"" + pathText(file) + "\" " + std::string(why));
    };
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(file, ec);
    if (!std::filesystem::exists(status)) throw refuse("não existe.");
    // Only a regular file is read: a device (/dev/zero) or a FIFO would never end, and a
    // folder opens as a stream on some systems and then reads as empty.
    if (!std::filesystem::is_regular_file(status)) throw refuse("não é um ficheiro comum.");
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxSettingsBytes) throw refuse("é demasiado grande para ser lido.");
    std::ifstream in(file, std::ios::binary);
    // Read at most one byte past the limit, so that a file swapped for a device after the
    // check above still ends.
    std::string bytes(kMaxSettingsBytes + 1, '\0');
    if (in) in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!in.is_open() || in.bad()) throw refuse("não pode ser lido.");
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (bytes.size() > kMaxSettingsBytes) throw refuse("é demasiado grande para ser lido.");
    return parse(bytes);
}

SettingsFile SettingsFile::parse(std::string_view bytes) {
    SettingsFile result;
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    std::optional<std::string> section;
    for (const std::string& rawBytes : splitText(bytes, '\n')) {
        const std::string rawLine = lineToUtf8(rawBytes);
        const std::string_view line = trimmed(std::string_view(rawLine).substr(
            0, rawLine.ends_with('\r') ? rawLine.size() - 1 : rawLine.size()));
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            // Keys under a broken header would land in the section before it: drop them.
            section.reset();
            if (close == std::string_view::npos) continue;
            section = std::string(trimmed(line.substr(1, close - 1)));
            result.sections_.insert(folded(*section));
            continue;
        }
        const size_t equals = line.find('=');
        if (!section || equals == std::string_view::npos) continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(withoutComment(line.substr(equals + 1)));
        result.values_.emplace(entryKey(*section, key), std::string(value));
    }
    return result;
}

std::optional<std::string> SettingsFile::value(std::string_view section,
                                               std::string_view key) const {
    const auto it = values_.find(entryKey(section, key));
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::string SettingsFile::text(std::string_view section, std::string_view key) const {
    return value(section, key).value_or(std::string());
}

bool SettingsFile::hasSection(std::string_view section) const {
    return sections_.contains(folded(section));
}

}  // namespace talvers
