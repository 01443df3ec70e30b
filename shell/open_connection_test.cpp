#include "shell/open_connection.h"

#include <gtest/gtest.h>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/odbc/odbc_encryption_failure.h"
#include "tests/support/erp_fixture.h"
#include "tests/support/tds_double_process.h"

namespace talvers {
namespace {

// The TDS double cannot encrypt. Encryption asked for when the server can, or not at all,
// connects; required, the connection is refused in a sentence that names the setting.
TEST(OpenConnection, AServerThatCannotEncryptIsRefusedWhenEncryptionIsRequired) {
    testing::ErpFixture erp;
    testing::TdsDoubleProcess server({"--catalog", "ERP=" + erp.mainFile().string()});
    ConnectionSettings s = server.settings("ERP");
    for (const Encryption allowed : {Encryption::Default, Encryption::Off}) {
        s.encryption = allowed;
        EXPECT_EQ(openConnection(s)->query("SELECT Codigo FROM Armazens").rowCount(), 0u);
    }
    s.encryption = Encryption::Required;
    try {
        openConnection(s);
        ADD_FAILURE() << "connected without encryption";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.description(),
                  "O servidor não aceitou a ligação encriptada que Encriptacao=obrigatoria exige: "
                  "para ligar sem encriptação, escolha Encriptacao=desligada em [Ligação] e "
                  "[LigaçãoExterna].")
            << e.number() << " " << e.details();
        EXPECT_NE(e.details().find("FreeTDS"), std::string::npos)
            << e.number() << " " << e.details();
    }
}

// The drivers' words for a certificate they refused, as Microsoft's driver and OpenSSL put
// them; what has nothing to do with encryption is left as it is.
TEST(OpenConnection, ARefusedCertificateNamesTheSettingToChange) {
    for (const char* driver :
         {"[Microsoft][ODBC Driver 18 for SQL Server]SSL Provider: [error:0A000086:SSL "
          "routines::certificate verify failed:self-signed certificate]",
          "[Microsoft][ODBC Driver 18 for SQL Server]The certificate chain was issued by an "
          "authority that is not trusted."}) {
        for (const Encryption e : {Encryption::Default, Encryption::Required}) {
            const DatabaseError told =
                explainedEncryptionFailure(DatabaseError(-1, "Geral.", driver), e);
            EXPECT_EQ(told.description().rfind("O certificado do servidor não foi aceite: ", 0),
                      0u);
            EXPECT_NE(told.description().find("Encriptacao=predefinida"), std::string::npos);
            EXPECT_EQ(told.details(), driver);
        }
    }
    const DatabaseError other(20002, "Não foi possível ligar.",
                              "Adaptive Server connection failed");
    EXPECT_EQ(explainedEncryptionFailure(other, Encryption::Default).description(),
              "Não foi possível ligar.");
}

}  // namespace
}  // namespace talvers
