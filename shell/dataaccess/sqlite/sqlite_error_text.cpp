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

bool isFileFailure(int code) {
    switch (code & 0xff) {
        case SQLITE_CANTOPEN:
        case SQLITE_NOTADB:
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_IOERR:
        case SQLITE_CORRUPT:
        case SQLITE_FULL:
            return true;
        default:
            return false;
    }
}

std::string sqliteErrorText(int code, std::string_view engineText) {
    switch (code & 0xff) {
        case SQLITE_ERROR: {
            if (const std::string table = nameAfter(engineText, "no such table: "); !table.empty())
                return missingObject("a tabela", table);
            if (const std::string column = nameAfter(engineText, "no such column: ");
                !column.empty())
                return missingObject("a coluna", column);
            if (engineText.find("syntax error") != std::string_view::npos)
                return "A instrução SQL tem um erro de sintaxe.";
            return "A base de dados SQLite comunicou um erro.";
        }
        case SQLITE_CANTOPEN:
            return "O ficheiro não existe ou não pode ser aberto.";
        case SQLITE_NOTADB:
            return "O ficheiro não é uma base de dados SQLite.";
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return "A base de dados está bloqueada por outro programa.";
        case SQLITE_READONLY:
            return "A base de dados só pode ser lida.";
        case SQLITE_PERM:
            return "Não há permissão de acesso à base de dados.";
        case SQLITE_IOERR:
            return "Erro de leitura ou escrita no disco.";
        case SQLITE_CORRUPT:
            return "A base de dados está danificada.";
        case SQLITE_FULL:
            return "O disco está cheio.";
        case SQLITE_NOMEM:
            return "Falta memória para concluir a operação.";
        case SQLITE_INTERRUPT:
            return "A operação foi interrompida.";
        default:
            return "A base de dados SQLite comunicou um erro.";
    }
}

DatabaseError sqliteFailure(int code, std::string_view engineText) {
    return DatabaseError(code, sqliteErrorText(code, engineText), std::string(engineText));
}

DatabaseError sqliteFailure(sqlite3* db) {
    const int code = sqlite3_extended_errcode(db);
    DatabaseError failure = sqliteFailure(code, sqlite3_errmsg(db));
    const char* file = sqlite3_db_filename(db, "main");
    if (!isFileFailure(code) || file == nullptr || *file == '\0') return failure;
    return DatabaseError(code, failure.description() + " Ficheiro: \"" + file + "\".",
                         failure.details());
}

}  // namespace talvers
