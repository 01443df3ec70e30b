#include "shell/dataaccess/odbc/odbc_encryption_failure.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace talvers {
namespace {

// FreeTDS's words (its error 20002) when the server answered but the login went no further:
// with encryption required, a server that cannot encrypt.
constexpr std::string_view kFreeTdsLoginRejected = "adaptive server connection failed";

bool mentions(std::string text, std::string_view word) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.find(word) != std::string::npos;
}

}  // namespace

DatabaseError explainedEncryptionFailure(const DatabaseError& error, Encryption encryption) {
    const std::string& driver = error.details();
    if (mentions(driver, "certificate")) {
        return DatabaseError(error.number(),
                             "O certificado do servidor não foi aceite: para confiar nele sem o "
                             "validar, escolha Encriptacao=predefinida em [Ligação] e "
                             "[LigaçãoExterna].",
                             driver);
    }
    if (encryption == Encryption::Required &&
        (mentions(driver, "encrypt") || mentions(driver, kFreeTdsLoginRejected))) {
        return DatabaseError(error.number(),
                             "O servidor não aceitou a ligação encriptada que "
                             "Encriptacao=obrigatoria exige: para ligar sem encriptação, escolha "
                             "Encriptacao=desligada em [Ligação] e [LigaçãoExterna].",
                             driver);
    }
    return error;
}

}  // namespace talvers
