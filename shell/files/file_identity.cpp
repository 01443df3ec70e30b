#include "shell/files/file_identity.h"

namespace talvers {

bool isOneOf(const FileIdentity& identity, const std::vector<std::filesystem::path>& files) {
    for (const auto& file : files) {
        if (fileIdentity(file) == identity) return true;
    }
    return false;
}

}  // namespace talvers
