#include "shell/settings/files_in_use.h"

#include "shell/platform/utf8_path.h"

namespace talvers {

std::vector<std::filesystem::path> filesInUse(const AppSettings& settings) {
    std::vector<std::filesystem::path> files;
    if (!settings.file.empty()) files.push_back(settings.file);
    for (const ConnectionSettings* connection : {&settings.main, &settings.external}) {
        if (connection->engine != Engine::Sqlite || connection->database.empty()) continue;
        const std::string& database = connection->database;
        for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
            files.push_back(pathFromUtf8(database + suffix));
        }
    }
    return files;
}

}  // namespace talvers
