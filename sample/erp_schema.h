#pragma once
// The ERP tables and columns the program reads, as SQLite DDL: one text for the company's
// own database and one for the external database its orders were exported from. The sample
// generator and the test fixtures both build their databases from these texts.
// Text columns compare without regard to letter case, as under SQL Server's usual collation.
namespace talvers {

const char* erpMainSchemaSql();
const char* erpExternalSchemaSql();

}  // namespace talvers
