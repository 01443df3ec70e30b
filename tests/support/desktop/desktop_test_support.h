#pragma once
// Shared by the desktop tests: a presenter that records every box and answers from a script,
// SQLite ERP files built from the ERP schema, and a settings file over them.
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/messages/messages.h"
#include "tests/support/recording_presenter.h"

namespace talvers::testing {

// Creates `file` with the main ERP schema (or the external one) and runs `rowsSql` on it.
void createErpFile(const std::filesystem::path& file, bool external,
                   const std::string& rowsSql = "");

// Writes `text` to `file` as it is.
void writeFile(const std::filesystem::path& file, const std::string& text);
std::string readFile(const std::filesystem::path& file);

// A settings file text with Motor=sqlite for both connections, then `extra` as it is.
std::string sqliteSettingsText(const std::string& mainFile, const std::string& externalFile,
                               const std::string& extra = "");

}  // namespace talvers::testing
