#include "shell/dataaccess/sqlite/sqlite_error_text.h"

#include <sqlite3.h>

#include "shell/dataaccess/engine_error_text.h"

namespace talvers {
namespace {

// The name after SQLite's "no such table: " or "no such column: ", when the text has one.
std::string nameAfter(std::string_view engineText, std::string_view prefix) {
    const size_t at = engineText.find(prefix);
    if (at == std::string_view::npos) return {};
    std::string_view name = engineText.substr(at + prefix.size());
    const size_t end = name.find_first_of(" \n");
    return std::string(name.substr(0, end));
}

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

}  // namespace talvers
