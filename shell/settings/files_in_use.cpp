#include "shell/settings/files_in_use.h"

namespace talvers {

std::vector<std::filesystem::path> filesInUse(const AppSettings& settings) {
    std::vector<std::filesystem::path> files;
    if (!settings.file.empty()) files.push_back(settings.file);
    for (const ConnectionSettings* connection : {&settings.main, &settings.external}) {
        if (connection->engine != Engine::Sqlite || connection->database.empty()) continue;
        const std::string& database = connection->database;
        for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
            const std::string name = database + suffix;
            files.emplace_back(std::u8string(name.begin(), name.end()));
        }
    }
    return files;
}

}  // namespace talvers
