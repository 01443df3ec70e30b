#include "sample/erp_schema.h"

#include <stdexcept>

#include "shell/dataaccess/text_utils.h"
#include "shell/dataaccess/tsql/tsql_tokenizer.h"

namespace talvers {

const char* erpMainSchemaTsql() {
    return R"sql(
CREATE TABLE dbo.EMPRESA (NOME varchar(100) NULL, NumContr varchar(20) NULL);
CREATE TABLE dbo.Vendedor (Codigo int NOT NULL, Nome varchar(60) NULL, PRIMARY KEY (Codigo));
CREATE TABLE dbo.Clientes (Codigo int NOT NULL, Nome nvarchar(100) NULL, PRIMARY KEY (Codigo));
CREATE TABLE dbo.Fornec (Codigo varchar(20) NOT NULL, Nome varchar(100) NULL,
    PRIMARY KEY (Codigo));
CREATE TABLE dbo.Armazens (Codigo varchar(6) NOT NULL, Nome varchar(60) NULL,
    PRIMARY KEY (Codigo));
CREATE TABLE dbo.Grupos (COD varchar(6) NOT NULL, Descr varchar(60) NULL, PRIMARY KEY (COD));
CREATE TABLE dbo.Familia (Cod varchar(6) NOT NULL, Descr varchar(60) NULL,
    Grupo varchar(6) NOT NULL, PRIMARY KEY (Cod, Grupo));
CREATE TABLE dbo.Artigos (
    Codigo varchar(20) NOT NULL, Nome nvarchar(100) NULL, Abrev varchar(20) NULL,
    ArtouDes bit NOT NULL DEFAULT 0, DiasSkRs smallint NULL,
    Grupo varchar(6) NULL, familia varchar(6) NULL, Fornec varchar(20) NULL,
    TotEncCl money NULL, TotEncFo money NULL, Stdisp float NULL, PRIMARY KEY (Codigo));
CREATE TABLE dbo.ArtArm (
    Artigo varchar(20) NOT NULL, Armazem varchar(6) NOT NULL, Existenc money NULL,
    ArmEncCl decimal(19,4) NULL, ArmEncFo decimal(19,4) NULL, PRIMARY KEY (Artigo, Armazem));
CREATE TABLE dbo.DOCGCCAB (
    TpDoc varchar(5) NOT NULL, Ano int NOT NULL, Serie varchar(10) NOT NULL,
    NNumDoc int NOT NULL, Data datetime NULL, Terceiro int NULL, Vendedor int NULL,
    Observ text NULL, nvias smallint NULL, AreaG smallint NULL, TpTerc smallint NULL,
    TpfStc smallint NULL, NatConta smallint NULL, SinalCt smallint NULL,
    PRIMARY KEY (TpDoc, Ano, Serie, NNumDoc));
CREATE TABLE dbo.DOCGCLIN (
    TpDocum varchar(5) NOT NULL, Ano int NOT NULL, Serie varchar(10) NOT NULL,
    NNumDoc int NOT NULL, NumLinha int NOT NULL, Artigo varchar(20) NULL,
    Armazem varchar(6) NULL, Quant decimal(18,3) NULL, QtdOrig money NULL,
    Valor decimal(19,4) NULL, [convert] smallint NULL,
    PRIMARY KEY (TpDocum, Ano, Serie, NNumDoc, NumLinha));
CREATE INDEX DOCGCLIN_Artigo ON dbo.DOCGCLIN (Artigo);
CREATE INDEX DOCGCCAB_Data ON dbo.DOCGCCAB (Data);
CREATE INDEX DOCGCCAB_Area ON dbo.DOCGCCAB (AreaG, TpTerc, Data);
CREATE TABLE dbo.CLDOCGC (
    TIPODOC varchar(5) NOT NULL, Ano int NOT NULL, SERIE varchar(10) NOT NULL,
    NDOC int NOT NULL, CL05 varchar(50) NULL, PRIMARY KEY (TIPODOC, Ano, SERIE, NDOC));
CREATE TABLE dbo.U_DOCGCLIN (
    Tpdocum varchar(5) NOT NULL, Ano int NOT NULL, Serie varchar(10) NOT NULL,
    NNumDoc int NOT NULL, NumLinha int NOT NULL, Obs ntext NULL,
    PRIMARY KEY (Tpdocum, Ano, Serie, NNumDoc, NumLinha));
CREATE TABLE dbo.U_DocGCLin0 (
    TpDocum varchar(5) NOT NULL, Ano int NOT NULL, Serie varchar(10) NOT NULL,
    NNumDoc int NOT NULL, NumLinha int NOT NULL, OBS nvarchar(max) NULL,
    PRIMARY KEY (TpDocum, Ano, Serie, NNumDoc, NumLinha));
CREATE TABLE dbo.AJUDACMP (Artigo varchar(20) NULL, Forneced varchar(20) NULL,
    Data datetime NULL);
CREATE INDEX AJUDACMP_Artigo ON dbo.AJUDACMP (Artigo, Data);
CREATE TABLE dbo.qor_ARM_picking_Movimentos (
    Artigo varchar(20) NULL, Armazem varchar(6) NULL, TipoMov varchar(10) NULL,
    NumeroSerie nvarchar(50) NULL);
CREATE TABLE dbo.NserExis (Artigo varchar(20) NULL, NumSer nvarchar(50) NULL);
CREATE TABLE dbo.NSerMovs (
    Artigo varchar(20) NULL, TpfStck smallint NULL, Armazem varchar(6) NULL,
    NumSer nvarchar(50) NULL, TipDoc varchar(5) NULL, Serie varchar(10) NULL,
    NumDoc int NULL, Ano int NULL, Linha int NULL);
CREATE INDEX NSerMovs_Artigo ON dbo.NSerMovs (Artigo, TpfStck);
)sql";
}

const char* erpExternalSchemaTsql() {
    return R"sql(
CREATE TABLE dbo.qor_documentosexportados (
    OrigTpDoc varchar(5) NULL, OrigAno int NULL, OrigSerie varchar(10) NULL,
    OrigNumero int NULL, EncTpDoc varchar(5) NULL, EncAno int NULL,
    EncSerie varchar(10) NULL, EncNumero int NULL);
CREATE INDEX qor_documentosexportados_Enc
    ON dbo.qor_documentosexportados (EncTpDoc, EncSerie, EncAno, EncNumero);
CREATE TABLE dbo.DocGcCab (
    TpDoc varchar(5) NOT NULL, Ano int NOT NULL, Serie varchar(10) NOT NULL,
    NNumDoc int NOT NULL, Terceiro int NULL, PRIMARY KEY (TpDoc, Ano, Serie, NNumDoc));
CREATE TABLE dbo.Clientes (Codigo int NOT NULL, Nome nvarchar(100) NULL, PRIMARY KEY (Codigo));
)sql";
}

namespace {

// A name as written ("[convert]", "Artigos"), without brackets.
std::string bare(std::string_view name) {
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
        return std::string(name.substr(1, name.size() - 2));
    return std::string(name);
}

// The significant tokens of a schema text, read one by one.
class DdlReader {
  public:
    explicit DdlReader(std::string_view tsql) {
        for (TsqlToken& token : tokenizeTsql(std::string(tsql))) {
            if (token.kind != TsqlTokenKind::Space) tokens_.push_back(std::move(token));
        }
    }
    bool atEnd() const { return pos_ >= tokens_.size(); }
    const std::string& peek() const {
        static const std::string kEnd;
        return atEnd() ? kEnd : tokens_[pos_].text;
    }
    bool accept(std::string_view word) {
        if (atEnd() || !equalsIgnoringAsciiCase(peek(), word)) return false;
        ++pos_;
        return true;
    }
    void expect(std::string_view word) {
        if (!accept(word)) fail("\"" + std::string(word) + "\"");
    }
    std::string name() {
        if (atEnd()) fail("um nome");
        return bare(tokens_[pos_++].text);
    }
    // "dbo.Artigos" or "Artigos".
    std::string tableName() {
        std::string first = name();
        if (!accept(".")) return first;
        return name();
    }
    std::vector<std::string> nameList() {
        expect("(");
        std::vector<std::string> names{name()};
        while (accept(",")) names.push_back(name());
        expect(")");
        return names;
    }
    // "varchar ( 20 )", "decimal(19,4)", "nvarchar(max)".
    SqlServerType type() {
        std::string text = name();
        if (accept("(")) {
            text += "(";
            while (!atEnd() && peek() != ")") text += tokens_[pos_++].text;
            expect(")");
            text += ")";
        }
        const std::optional<SqlServerType> type = SqlServerType::parse(text);
        if (!type) fail("um tipo conhecido em vez de " + text);
        return *type;
    }
    [[noreturn]] void fail(const std::string& wanted) const {
        throw std::invalid_argument("esquema do ERP: esperava " + wanted + " em \"" + peek() +
                                    "\" (elemento " + std::to_string(pos_) + ")");
    }

  private:
    std::vector<TsqlToken> tokens_;
    size_t pos_ = 0;
};

ErpColumn readColumn(DdlReader& in) {
    ErpColumn column;
    column.name = in.name();
    column.type = in.type();
    for (;;) {
        if (in.accept("NOT")) {
            in.expect("NULL");
            column.notNull = true;
        } else if (in.accept("NULL")) {
            column.notNull = false;
        } else if (in.accept("DEFAULT")) {
            column.defaultValue = in.name();
        } else {
            return column;
        }
    }
}

ErpTable readTable(DdlReader& in) {
    ErpTable table;
    table.name = in.tableName();
    in.expect("(");
    do {
        if (in.accept("PRIMARY")) {
            in.expect("KEY");
            table.primaryKey = in.nameList();
        } else {
            table.columns.push_back(readColumn(in));
        }
    } while (in.accept(","));
    in.expect(")");
    return table;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

// A column name as SQLite must read it: "convert" is a keyword there too.
std::string sqliteName(const std::string& name) {
    return equalsIgnoringAsciiCase(name, "convert") ? "[" + name + "]" : name;
}

}  // namespace

const ErpColumn* ErpTable::column(std::string_view wanted) const {
    const std::string name = bare(wanted);
    for (const ErpColumn& c : columns) {
        if (equalsIgnoringAsciiCase(c.name, name)) return &c;
    }
    return nullptr;
}

const ErpTable* ErpSchema::table(std::string_view wanted) const {
    std::string name = bare(wanted);
    for (const char* prefix : {"dbo.", "[dbo]."}) {
        const std::string_view p(prefix);
        if (name.size() > p.size() && equalsIgnoringAsciiCase(name.substr(0, p.size()), p))
            name = bare(name.substr(p.size()));
    }
    for (const ErpTable& t : tables) {
        if (equalsIgnoringAsciiCase(t.name, name)) return &t;
    }
    return nullptr;
}

ErpSchema parseErpSchema(std::string_view tsql) {
    ErpSchema schema;
    DdlReader in(tsql);
    while (!in.atEnd()) {
        in.expect("CREATE");
        if (in.accept("TABLE")) {
            schema.tables.push_back(readTable(in));
        } else {
            in.expect("INDEX");
            ErpIndex index;
            index.name = in.name();
            in.expect("ON");
            index.table = in.tableName();
            index.columns = in.nameList();
            schema.indexes.push_back(std::move(index));
        }
        in.expect(";");
    }
    return schema;
}

const ErpSchema& erpMainSchema() {
    static const ErpSchema schema = parseErpSchema(erpMainSchemaTsql());
    return schema;
}

const ErpSchema& erpExternalSchema() {
    static const ErpSchema schema = parseErpSchema(erpExternalSchemaTsql());
    return schema;
}

std::string sqliteSchemaSql(const ErpSchema& schema) {
    std::string sql;
    for (const ErpTable& table : schema.tables) {
        sql += "CREATE TABLE " + table.name + " (";
        for (size_t i = 0; i < table.columns.size(); ++i) {
            const ErpColumn& c = table.columns[i];
            sql += (i == 0 ? "" : ", ") + sqliteName(c.name) + " " + c.type.sqliteDeclaration();
            // Only a column with a default refuses NULL: fixtures leave out what a case does
            // not need, keys included.
            if (!c.defaultValue.empty()) sql += " NOT NULL DEFAULT " + c.defaultValue;
        }
        if (!table.primaryKey.empty()) sql += ", PRIMARY KEY (" + joined(table.primaryKey) + ")";
        sql += ");\n";
    }
    for (const ErpIndex& index : schema.indexes) {
        sql += "CREATE INDEX " + index.name + " ON " + index.table + " (" + joined(index.columns) +
               ");\n";
    }
    return sql;
}

const char* erpMainSchemaSql() {
    static const std::string sql = sqliteSchemaSql(erpMainSchema());
    return sql.c_str();
}

const char* erpExternalSchemaSql() {
    static const std::string sql = sqliteSchemaSql(erpExternalSchema());
    return sql.c_str();
}

}  // namespace talvers
