#include "tests/tds_double/double_catalogs.h"

#include <cctype>

#include "shell/dataaccess/text_utils.h"

namespace talvers {

std::optional<std::pair<std::string, std::filesystem::path>> DoubleCatalogs::find(
    const std::string& name) const {
    for (const auto& catalog : catalogs_) {
        if (equalsIgnoringAsciiCase(catalog.first, name)) return catalog;
    }
    return std::nullopt;
}

std::string DoubleCatalogs::key(const std::string& catalog, const std::string& function) {
    std::string text = catalog + '\n' + function;
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool DoubleCatalogs::createFunction(const std::string& catalog, const std::string& function,
                                    const SqlServerType& returns) {
    std::lock_guard lock(mutex_);
    return functions_.emplace(key(catalog, function), returns).second;
}

std::optional<SqlServerType> DoubleCatalogs::function(const std::string& catalog,
                                                      const std::string& function) const {
    std::lock_guard lock(mutex_);
    const auto found = functions_.find(key(catalog, function));
    if (found == functions_.end()) return std::nullopt;
    return found->second;
}

}  // namespace talvers
