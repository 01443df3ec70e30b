#include "shell/dataaccess/engine_error_text.h"

#include <sqlite3.h>

#include <array>

namespace talvers {
namespace {

std::string withEngineText(std::string_view description, std::string_view engineText) {
    std::string text(description);
    if (!engineText.empty()) text += " (" + std::string(engineText) + ")";
    return text;
}

// The name after SQLite's "no such table: " or "no such column: ", when the text has one.
std::string nameAfter(std::string_view engineText, std::string_view prefix) {
    const size_t at = engineText.find(prefix);
    if (at == std::string_view::npos) return {};
    std::string_view name = engineText.substr(at + prefix.size());
    const size_t end = name.find_first_of(" \n");
    return std::string(name.substr(0, end));
}

// The first name in single quotes, as SQL Server writes it ("Invalid object name 'AJUDACMP'.").
std::string quotedName(std::string_view engineText) {
    const size_t open = engineText.find('\'');
    if (open == std::string_view::npos) return {};
    const size_t close = engineText.find('\'', open + 1);
    if (close == std::string_view::npos) return {};
    return std::string(engineText.substr(open + 1, close - open - 1));
}

std::string missingObject(const char* kind, const std::string& name) {
    return name.empty() ? std::string("A base de dados não tem ") + kind + " pedida"
                        : std::string("A base de dados não tem ") + kind + " " + name;
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

std::string sqliteErrorText(int code, std::string_view engineText) {
    switch (code & 0xff) {
        case SQLITE_ERROR: {
            if (const std::string table = nameAfter(engineText, "no such table: "); !table.empty())
                return withEngineText(missingObject("a tabela", table), engineText);
            if (const std::string column = nameAfter(engineText, "no such column: ");
                !column.empty())
                return withEngineText(missingObject("a coluna", column), engineText);
            if (engineText.find("syntax error") != std::string_view::npos)
                return withEngineText("A instrução SQL tem um erro de sintaxe", engineText);
            return withEngineText("A base de dados SQLite comunicou um erro", engineText);
        }
        case SQLITE_CANTOPEN:
            return withEngineText("O ficheiro não existe ou não pode ser aberto", engineText);
        case SQLITE_NOTADB:
            return withEngineText("O ficheiro não é uma base de dados SQLite", engineText);
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return withEngineText("A base de dados está bloqueada por outro programa", engineText);
        case SQLITE_READONLY:
            return withEngineText("A base de dados só pode ser lida", engineText);
        case SQLITE_PERM:
            return withEngineText("Não há permissão de acesso à base de dados", engineText);
        case SQLITE_IOERR:
            return withEngineText("Erro de leitura ou escrita no disco", engineText);
        case SQLITE_CORRUPT:
            return withEngineText("A base de dados está danificada", engineText);
        case SQLITE_FULL:
            return withEngineText("O disco está cheio", engineText);
        case SQLITE_NOMEM:
            return withEngineText("Falta memória para concluir a operação", engineText);
        case SQLITE_INTERRUPT:
            return withEngineText("A operação foi interrompida", engineText);
        default:
            return withEngineText("A base de dados SQLite comunicou um erro", engineText);
    }
}

std::string odbcErrorText(const std::vector<std::string>& states, std::string_view engineText) {
    for (const std::string& state : states) {
        if (state == "42S02")
            return withEngineText(missingObject("a tabela", quotedName(engineText)), engineText);
        if (state == "42S22")
            return withEngineText(missingObject("a coluna", quotedName(engineText)), engineText);
        for (const StateText& known : kOdbcStates) {
            if (state == known.state) return withEngineText(known.description, engineText);
        }
    }
    return withEngineText("O controlador ODBC comunicou um erro", engineText);
}

}  // namespace talvers
