#include "tests/tds_double/select_typer.h"

#include <gtest/gtest.h>

namespace talvers {
namespace {

SelectTyperContext context() {
    SelectTyperContext c;
    c.schemas = {&erpMainSchema(), &erpExternalSchema()};
    c.functionType = [](const std::string& name) -> std::optional<SqlServerType> {
        if (name == "qor_LinhaParaString") return SqlServerType::parse("nvarchar(4000)");
        return std::nullopt;
    };
    return c;
}

// Each column as "name type" ("?" after a nullable one), as SQL Server describes it.
std::string described(const std::string& select) {
    std::string out;
    for (const TdsColumn& c : typeSelectColumns(select, context())) {
        if (!out.empty()) out += ", ";
        out += c.name + " " + c.type.name() + (c.nullable ? "?" : "");
    }
    return out;
}

TEST(SelectTyper, TypesColumnsAsSqlServerDoes) {
    const struct {
        const char* select;
        const char* columns;
    } cases[] = {
        {"select Codigo, TotEncCl, Stdisp, ArtouDes from Artigos",
         "Codigo varchar(20), TotEncCl money?, Stdisp float?, ArtouDes bit"},
        // Sums: money stays money, decimals widen to 38 digits, whole numbers become int.
        {"select sum(l.QtdOrig) as a, sum(l.Quant) b, count(*) as c, sum(l.[convert]) as d,"
         " coalesce(sum(l.Quant),0) as e from DOCGCLIN as l",
         "a money?, b decimal(38,3)?, c int, d int?, e decimal(38,3)"},
        // The provisioning's sales: smallint arithmetic, an int, then money.
        {"select coalesce(sum((ABS(c .TPTERC - c.SINALCT) * 2 - 1)*(l.QtdOrig)),0) as Vendas"
         " from Docgccab as c inner join DOCGCLIN as l ON l.ano=c.ano",
         "Vendas money"},
        // decimal(19,4) - decimal(19,4): one more digit; money + decimal: decimal.
        {"select a.ArmEncCl - a.ArmEncFo as x, a.Existenc + a.ArmEncCl as y from ArtArm a",
         "x decimal(20,4)?, y decimal(20,4)?"},
        // Concatenation: lengths add up, nvarchar wins; literals are varchar of their length.
        {"select c.TpDoc+'/'+CAST( c.Ano as nvarchar(4))+'/'+c.Serie as Doc, '' as Vazio,"
         " coalesce(ar.Fornec,' ') as F, CAST(1 AS nvarchar) n from DOCGCCAB as c, Artigos ar",
         "Doc nvarchar(21), Vazio varchar(1), F varchar(20), n nvarchar(30)"},
        // Outer joins make the joined side nullable; text keeps its table for the client.
        {"select c.NNumDoc, u.NNumDoc as un, c.Observ from DOCGCCAB as c left outer join "
         "U_DOCGCLIN as u on u.NNumDoc = c.NNumDoc",
         "NNumDoc int, un int?, Observ text?"},
        // Key tables: OPENJSON and VALUES, the columns of a VALUES table in common types.
        {"select k.n, k.Artigo from (select CAST(j.[key] AS int) as n, CAST(JSON_VALUE(j.value,"
         " '$[0]') AS varchar(8000)) as Artigo from OPENJSON('[]') as j) as k",
         "n int, Artigo varchar(8000)?"},
        {"select k.n, k.Artigo, k.Ano from (values (0, 'A', 2024), (1, 'ABC', 12345678901)) as "
         "k(n, Artigo, Ano)",
         "n int, Artigo varchar(3), Ano decimal(11,0)"},
        {"select q.n, q.rn, dbo.qor_LinhaParaString (q.n) as EncForn, (select max(Data) from "
         "AJUDACMP) as Ultima from (select 1 as n, ROW_NUMBER() OVER (ORDER BY Codigo) as rn "
         "from Artigos) as q",
         "n int, rn bigint, EncForn nvarchar(4000)?, Ultima datetime?"},
        {"select case when TotEncCl > 0 then TotEncCl else 0 end as t, case Codigo when 'A' "
         "then 1.5 end as u, m.* from Artigos, Armazens as m",
         "t money?, u decimal(2,1)?, Codigo varchar(6), Nome varchar(60)?"},
    };
    for (const auto& c : cases) EXPECT_EQ(described(c.select), c.columns) << c.select;
}

// What the server would refuse, with its number.
TEST(SelectTyper, RefusesWhatTheSchemaLacksAsSqlServerDoes) {
    const struct {
        const char* select;
        long number;
    } cases[] = {
        {"select Codigo from Artigo", 208},
        {"select Codig from Artigos", 207},
        {"select x.Codigo from Artigos as a", 4104},
        {"select Codigo from Artigos, Armazens", 209},
        {"select dbo.qor_LinhaParaStringGuia('A')", 4121},
        {"select unknown_function(1)", 195},
        {"select Codigo from Artigos union select Codigo from Armazens", 50000},
        {"select cast(1 as geography)", 243},
        {"select 'a' - 1", 50000},
        {"select (select Codigo, Nome from Artigos)", 116},
    };
    for (const auto& c : cases) {
        try {
            described(c.select);
            ADD_FAILURE() << "typed: " << c.select;
        } catch (const TypingError& e) {
            EXPECT_EQ(e.message().number, c.number) << c.select << ": " << e.what();
        }
    }
}

}  // namespace
}  // namespace talvers
