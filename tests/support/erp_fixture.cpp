#include "tests/support/erp_fixture.h"

#include <sqlite3.h>

#include <stdexcept>
#include <vector>

#include "sample/erp_schema.h"
#include "shell/dataaccess/sql_literal.h"
#include "shell/dataaccess/sqlite/sqlite_connection.h"
#include "shell/dataaccess/text_utils.h"

namespace talvers::testing {
namespace {

void execFile(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open(file.string().c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open fixture database " + file.string());
    }
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error("fixture SQL failed: " + message + "\n" + sql);
}

std::string q(std::string_view text) {
    return "'" + sqlQuoted(text) + "'";
}

}  // namespace

ErpFixture::ErpFixture() {
    execFile(dir_ / "main.db", erpMainSchemaSql());
    execFile(dir_ / "ext.db", erpExternalSchemaSql());
}

ErpFixture::~ErpFixture() = default;

void ErpFixture::execMain(const std::string& sql) {
    execFile(dir_ / "main.db", sql);
}
void ErpFixture::execExternal(const std::string& sql) {
    execFile(dir_ / "ext.db", sql);
}

void ErpFixture::orderLine(std::string_view doc, std::string_view date, int kind, int party,
                           std::string_view article, std::string_view quantity) {
    const std::vector<std::string> p = splitText(doc, '/');
    execMain(
        "INSERT OR IGNORE INTO DOCGCCAB (TpDoc, Ano, Serie, NNumDoc, Data, Terceiro, "
        "Vendedor, nvias, AreaG, TpTerc) VALUES (" +
        q(p.at(0)) + "," + p.at(1) + "," + q(p.at(2)) + "," + p.at(3) + "," + q(date) + "," +
        std::to_string(party) + ",1,0,2," + std::to_string(kind) + ");" +
        "INSERT INTO DOCGCLIN (TpDocum, Ano, Serie, NNumDoc, NumLinha, Artigo, Armazem, "
        "Quant, [convert]) VALUES (" +
        q(p.at(0)) + "," + p.at(1) + "," + q(p.at(2)) + "," + p.at(3) + "," + p.at(4) + "," +
        q(article) + ",'001'," + std::string(quantity) + ",0);");
}

void ErpFixture::customer(int code, std::string_view name) {
    execMain("INSERT INTO Clientes (Codigo, Nome) VALUES (" + std::to_string(code) + "," + q(name) +
             ");");
}

void ErpFixture::article(std::string_view code, std::string_view name, std::optional<int> days) {
    execMain("INSERT INTO Artigos (Codigo, Nome, ArtouDes, DiasSkRs) VALUES (" + q(code) + "," +
             q(name) + ",0," + (days ? std::to_string(*days) : std::string("NULL")) + ");");
}

void ErpFixture::stock(std::string_view article, std::string_view warehouse,
                       std::string_view quantity) {
    execMain("INSERT INTO ArtArm (Artigo, Armazem, Existenc) VALUES (" + q(article) + "," +
             q(warehouse) + "," + std::string(quantity) + ");");
}

void ErpFixture::supplierLineNote(std::string_view doc, std::string_view note) {
    const std::vector<std::string> p = splitText(doc, '/');
    execMain("INSERT INTO U_DOCGCLIN (Tpdocum, Ano, Serie, NNumDoc, NumLinha, Obs) VALUES (" +
             q(p.at(0)) + "," + p.at(1) + "," + q(p.at(2)) + "," + p.at(3) + "," + p.at(4) + "," +
             q(note) + ");");
}

void ErpFixture::purchase(std::string_view article, std::string_view supplier,
                          std::string_view name, std::string_view date) {
    execMain("INSERT OR IGNORE INTO Fornec (Codigo, Nome) VALUES (" + q(supplier) + "," + q(name) +
             ");INSERT INTO AJUDACMP (Artigo, Forneced, Data) VALUES (" + q(article) + "," +
             q(supplier) + "," + q(date) + ");");
}

void ErpFixture::exported(std::string_view encDoc, std::string_view origDoc, int code,
                          std::string_view name) {
    const std::vector<std::string> e = splitText(encDoc, '/');
    const std::vector<std::string> o = splitText(origDoc, '/');
    execExternal(
        "INSERT INTO qor_documentosexportados (OrigTpDoc, OrigAno, OrigSerie, "
        "OrigNumero, EncTpDoc, EncAno, EncSerie, EncNumero) VALUES (" +
        q(o.at(0)) + "," + o.at(1) + "," + q(o.at(2)) + "," + o.at(3) + "," + q(e.at(0)) + "," +
        e.at(1) + "," + q(e.at(2)) + "," + e.at(3) + ");" +
        "INSERT OR IGNORE INTO Clientes (Codigo, Nome) VALUES (" + std::to_string(code) + "," +
        q(name) + ");" + "INSERT INTO DocGcCab (TpDoc, Ano, Serie, NNumDoc, Terceiro) VALUES (" +
        q(o.at(0)) + "," + o.at(1) + "," + q(o.at(2)) + "," + o.at(3) + "," + std::to_string(code) +
        ");");
}

Connection& ErpFixture::bd() {
    if (!bd_) bd_ = SqliteConnection::open(dir_ / "main.db");
    return *bd_;
}

Connection& ErpFixture::bdExt() {
    if (!bdExt_) bdExt_ = SqliteConnection::open(dir_ / "ext.db");
    return *bdExt_;
}

}  // namespace talvers::testing
