#pragma once
// SettingsFile: an INI file read into memory — "[Section]" lines, "Key=Value" lines, blank
// lines and comments.
//
// Encoding: a leading UTF-8 byte-order mark is skipped. Each line is taken as UTF-8 when it is
// valid UTF-8, otherwise as Windows-1252 (older files were written so) and converted. The five
// bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+FFFD: one stray
// byte in a comment must not make the whole file unusable, and a value holding U+FFFD fails
// visibly later (a wrong name or password) instead of silently.
//
// Syntax: lines end in LF or CRLF. Blanks and tabs around names and values are dropped. A line
// whose first non-blank character is ';' is a comment; so is the rest of a value line from a
// ';' that follows a blank or tab ("Motor=sqlite   ; embedded"). A ';' glued to the text
// before it stays part of the value, so ODBC options such as "Encrypt=yes;Trust=no" survive.
// A value is split from its key at the first '='; later '=' belong to the value. Lines that
// are neither (no '=') are ignored, and so are keys before the first section or after a
// '[' line without its ']'. When a key appears twice in a section the first one counts; a
// repeated section continues the first one.
// Section and key names are compared ignoring the case of ASCII and Latin-1 letters, so
// "LIGAÇÃO" finds "Ligação".
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace talvers {

class SettingsFile {
  public:
    // Reads and parses `file`. Throws SettingsError (Unreadable) naming the file when it does
    // not exist, is not a regular file (a folder, a device, a FIFO), is larger than 1 MiB or
    // cannot be read.
    static SettingsFile load(const std::filesystem::path& file);
    // Parses the file's raw bytes (any encoding described above).
    static SettingsFile parse(std::string_view bytes);

    // The value (UTF-8) of `key` in `section`, or nullopt when either is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // The value, or an empty text when missing: an absent key and an empty one mean the same.
    std::string text(std::string_view section, std::string_view key) const;
    bool hasSection(std::string_view section) const;

  private:
    // Keyed by folded "section" + '\n' + folded "key"; sections alone are kept with no key.
    std::map<std::string, std::string> values_;
    std::set<std::string> sections_;
};

}  // namespace talvers
