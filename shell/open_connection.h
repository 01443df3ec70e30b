#pragma once
// Opens a connection with the backend the settings name. Throws DatabaseError on failure
// (an unreachable server, a SQLite file that does not exist — never created empty).
#include <memory>

#include "shell/dataaccess/connection.h"
#include "shell/dataaccess/connection_settings.h"

namespace talvers {

std::unique_ptr<Connection> openConnection(const ConnectionSettings& settings);

}  // namespace talvers
