#include "shell/dataaccess/odbc/odbc_error_text.h"

#include <array>

#include "shell/dataaccess/engine_error_text.h"

namespace talvers {
namespace {

// The first name in single quotes, as SQL Server writes it ("Invalid object name 'AJUDACMP'.").
std::string quotedName(std::string_view engineText) {
    const size_t open = engineText.find('\'');
    if (open == std::string_view::npos) return {};
    const size_t close = engineText.find('\'', open + 1);
    if (close == std::string_view::npos) return {};
    return std::string(engineText.substr(open + 1, close - open - 1));
}

struct StateText {
    std::string_view state;
    std::string_view description;
};

constexpr std::array kOdbcStates{
    StateText{"08001", "Não foi possível ligar ao servidor de base de dados"},
    StateText{"08S01", "A ligação ao servidor de base de dados falhou"},
    StateText{"08004", "O servidor de base de dados recusou a ligação"},
    StateText{"08003", "A ligação ao servidor de base de dados não está aberta"},
    StateText{"28000", "O servidor recusou o utilizador ou a palavra-passe"},
    StateText{"HYT00", "O servidor de base de dados não respondeu a tempo"},
    StateText{"HYT01", "O servidor de base de dados não respondeu a tempo"},
    StateText{"IM002", "O controlador ODBC indicado não está instalado"},
    StateText{"IM003", "Não foi possível carregar o controlador ODBC"},
    StateText{"42000", "A instrução SQL tem um erro ou o acesso foi negado"},
    StateText{"40001", "O servidor interrompeu a consulta por um conflito de bloqueios"},
    StateText{"22003", "Um valor excede o intervalo permitido"},
    StateText{"22007", "Uma data não é válida"},
    StateText{"22008", "Uma data está fora do intervalo permitido"},
    StateText{"HY008", "A operação foi cancelada"},
};

}  // namespace

std::string odbcErrorText(const std::vector<std::string>& states, std::string_view engineText,
                          long number) {
    if (number == 18456) return "O servidor recusou o utilizador ou a palavra-passe.";
    if (number == 4060)
        return "O servidor não tem a base de dados pedida ou o utilizador não lhe tem acesso.";
    for (const std::string& state : states) {
        if (state == "42S02") return missingObject("a tabela", quotedName(engineText));
        if (state == "42S22") return missingObject("a coluna", quotedName(engineText));
        for (const StateText& known : kOdbcStates) {
            if (state == known.state) return std::string(known.description) + ".";
        }
    }
    return "O controlador ODBC comunicou um erro.";
}

}  // namespace talvers
