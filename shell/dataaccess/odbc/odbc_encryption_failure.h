#pragma once
// A failed connection whose cause is the encryption setting, told in one Portuguese sentence
// that names the setting to change (the driver's own words stay in the details):
// - the driver refused the server's certificate (Encriptacao=obrigatoria validates it);
// - encryption was required and the server did not take it (FreeTDS then only says that the
//   connection failed after the server answered; Microsoft's driver says it cannot encrypt).
// Any other failure comes back as it is.
#include "shell/dataaccess/connection_settings.h"
#include "shell/dataaccess/database_error.h"

namespace talvers {

DatabaseError explainedEncryptionFailure(const DatabaseError& error, Encryption encryption);

}  // namespace talvers
