#include "shell/dataaccess/odbc/odbc_error_text.h"

#include <gtest/gtest.h>

namespace talvers {
namespace {

// One sentence by the first state with a description of its own; the drivers' words are read
// only for the name of a missing table or column.
TEST(EngineErrorText, DescribesOdbcFailuresByTheFirstKnownState) {
    struct Case {
        std::vector<std::string> states;
        const char* engine;
        const char* expected;
    };
    const Case cases[] = {
        {{"42S02"},
         "[SQL Server]Invalid object name 'AJUDACMP'.",
         "A base de dados não tem a tabela AJUDACMP."},
        {{"42S22"}, "Invalid column name 'Quant'.", "A base de dados não tem a coluna Quant."},
        {{"42S02"}, "no such table", "A base de dados não tem a tabela pedida."},
        {{"01000", "08001"},
         "Adaptive Server connection failed\nUnable to connect",
         "Não foi possível ligar ao servidor de base de dados."},
        {{"08S01"}, "Communication link failure", "A ligação ao servidor de base de dados falhou."},
        {{"28000"},
         "Login failed for user 'x'.",
         "O servidor recusou o utilizador ou a palavra-passe."},
        {{"HYT00"}, "Timeout expired", "O servidor de base de dados não respondeu a tempo."},
        {{"IM002"},
         "Data source name not found",
         "O controlador ODBC indicado não está instalado."},
        {{"01000"}, "General warning", "O controlador ODBC comunicou um erro."},
        {{}, "", "O controlador ODBC comunicou um erro."},
    };
    for (const Case& c : cases) EXPECT_EQ(odbcErrorText(c.states, c.engine), c.expected);
    // SQL Server's numbers come first where FreeTDS gives only the general state.
    EXPECT_EQ(odbcErrorText({"42000"}, "Login failed for user 'x'.", 18456),
              "O servidor recusou o utilizador ou a palavra-passe.");
    EXPECT_EQ(odbcErrorText({"42000"}, "Cannot open database \"X\"", 4060),
              "O servidor não tem a base de dados pedida ou o utilizador não lhe tem acesso.");
    EXPECT_EQ(odbcErrorText({"42000"}, "Incorrect syntax", 102),
              "A instrução SQL tem um erro ou o acesso foi negado.");
}

}  // namespace
}  // namespace talvers
