#include "shell/files/file_identity.h"

#include "shell/platform/utf8_path.h"

namespace talvers {
namespace {

bool sameNameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

bool isOneOf(const FileIdentity& identity, const std::vector<std::filesystem::path>& files) {
    for (const auto& file : files) {
        if (fileIdentity(file) == identity) return true;
    }
    return false;
}

bool namesOneOf(const FileIdentity& folder, std::string_view leaf,
                const std::vector<std::filesystem::path>& files) {
    for (const auto& file : files) {
        if (!sameNameIgnoringAsciiCase(utf8FromPath(file.filename()), leaf)) continue;
        const std::filesystem::path parent = file.parent_path();
        if (fileIdentity(parent.empty() ? std::filesystem::path(".") : parent) == folder) {
            return true;
        }
    }
    return false;
}

}  // namespace talvers
