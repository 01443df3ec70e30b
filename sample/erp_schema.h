#pragma once
// The ERP tables and columns the program reads, written once as the ERP's own schema in
// SQL Server terms (T-SQL CREATE TABLE and CREATE INDEX texts): one for the company's own
// database and one for the external database its orders were exported from.
//
// The sample generator and the test fixtures build their SQLite databases from the same
// texts (erpMainSchemaSql(): each column in the SQLite type that keeps its values, text
// columns comparing without regard to letter case as under SQL Server's usual collation),
// and the TDS double sends every column with the type declared here.
#include <string>
#include <string_view>
#include <vector>

#include "sample/sql_server_type.h"

namespace talvers {

struct ErpColumn {
    std::string name;
    SqlServerType type;
    bool notNull = false;
    std::string defaultValue;  // a number, as written after DEFAULT; "" for none
};

struct ErpTable {
    std::string name;
    std::vector<ErpColumn> columns;
    std::vector<std::string> primaryKey;
    // The column named `name`, letter case ignored as SQL Server's collation does; null when
    // the table has none.
    const ErpColumn* column(std::string_view name) const;
};

struct ErpIndex {
    std::string name;
    std::string table;
    std::vector<std::string> columns;
};

struct ErpSchema {
    std::vector<ErpTable> tables;
    std::vector<ErpIndex> indexes;
    // The table named `name` (a "dbo." prefix and brackets allowed), letter case ignored;
    // null when there is none.
    const ErpTable* table(std::string_view name) const;
};

// The T-SQL texts, as a database administrator would run them on SQL Server.
const char* erpMainSchemaTsql();
const char* erpExternalSchemaTsql();

// Reads CREATE TABLE (columns with their type, NULL/NOT NULL, DEFAULT number, a PRIMARY KEY
// clause) and CREATE INDEX statements separated by ';'. Throws std::invalid_argument naming
// what it does not understand.
ErpSchema parseErpSchema(std::string_view tsql);

// The two schemas, read once.
const ErpSchema& erpMainSchema();
const ErpSchema& erpExternalSchema();

// The SQLite DDL of a schema (see above).
std::string sqliteSchemaSql(const ErpSchema& schema);

// The SQLite DDL of the two schemas, made once.
const char* erpMainSchemaSql();
const char* erpExternalSchemaSql();

}  // namespace talvers
