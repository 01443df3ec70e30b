#include "shell/settings/settings_places.h"

#include "shell/platform/utf8_path.h"

namespace talvers {

std::optional<std::filesystem::path> absoluteFolder(const EnvironmentLookup& env,
                                                    const char* name) {
    const std::optional<std::string> value = env(name);
    if (!value || value->empty()) return std::nullopt;
    std::filesystem::path folder = pathFromUtf8(*value);
    if (!folder.is_absolute()) return std::nullopt;
    return folder;
}

}  // namespace talvers
