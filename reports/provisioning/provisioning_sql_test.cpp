#include "reports/provisioning/provisioning_sql.h"

#include <gtest/gtest.h>

namespace talvers {
namespace {

const DateTime kFirst{2024, 1, 5, 14, 30, 0};
const DateTime kLast{2024, 3, 31, 8, 0, 0};

TEST(ProvisioningSql, DateTextsTakeTheDayAndFixedHours) {
    EXPECT_EQ(provisioningFirstDateText(kFirst), "2024-01-05 00:00");
    EXPECT_EQ(provisioningLastDateText(kLast), "2024-03-31 23:59");
}

// One fragment per line, as the statement is composed.
// clang-format off
TEST(ProvisioningSql, DefaultVariantText) {
    const std::string expected =
        " select ar.Codigo, ar.Abrev,ar.Nome,"
        " (select coalesce(sum((ABS(c .TPTERC - c.SINALCT) * 2 - 1)*(l.QtdOrig)),0) from Docgccab as c"
        " inner join DOCGCLIN as l ON l.tpdocum=c.Tpdoc and l.Nnumdoc=c.NNumdoc and l.serie=c.serie and l.ano=c.ano"
        " where c.Data>=CONVERT(DATETIME, '"
        "2024-01-05 00:00"
        "', 102) and c.Data<=CONVERT(DATETIME, '"
        "2024-03-31 23:59"
        "', 102) "
        " And c.nvias <> -1 And c.AREAG = 4 And c.tpterc = 2 And c.natconta = 1 and l.artigo=ar.Codigo"
        " ) as Vendas,"
        " (select coalesce(sum(existenc),0) from ArtArm as aa where aa.Artigo=ar.Codigo and (aa.Armazem='001' or aa.Armazem='002' )) as Existenc,"
        " (select coalesce(sum(ArmEncCl),0) from ArtArm as aa where aa.Artigo=ar.Codigo and (aa.Armazem='001' or aa.Armazem='002' )) as TotEncCl,"
        " (select coalesce(sum(ArmEncFo),0) from ArtArm as aa where aa.Artigo=ar.Codigo and (aa.Armazem='001' or aa.Armazem='002' )) as TotEncFo,"
        " (select coalesce(sum(existenc),0) from ArtArm as aa where aa.Artigo=ar.Codigo and (aa.Armazem='001' or aa.Armazem='002' )) -"
        " (select coalesce(sum(ArmEncCl),0) from ArtArm as aa where aa.Artigo=ar.Codigo and (aa.Armazem='001' or aa.Armazem='002' )) +"
        " (select coalesce(sum(ArmEncFo),0) from ArtArm as aa where aa.Artigo=ar.Codigo and (aa.Armazem='001' or aa.Armazem='002' )) as Prazo,"
        " coalesce(ar.Fornec,' ') as Fornec, coalesce(f.Nome,' ') as 'Nome Fornecedor'"
        " from Artigos as ar"
        " left outer Join Fornec as f ON f.Codigo=ar.Fornec"
        " Where ar.ArtouDes = 0"
        " Order By"
        " (select coalesce(sum(existenc),0) from ArtArm as aa where aa.Artigo=ar.Codigo and (aa.Armazem='001' or aa.Armazem='002' )) -"
        " (select coalesce(sum(ArmEncCl),0) from ArtArm as aa where aa.Artigo=ar.Codigo and (aa.Armazem='001' or aa.Armazem='002' )) +"
        " (select coalesce(sum(ArmEncFo),0) from ArtArm as aa where aa.Artigo=ar.Codigo and (aa.Armazem='001' or aa.Armazem='002' ))"
        ", ar.Codigo";
    EXPECT_EQ(provisioningDefaultSql(kFirst, kLast), expected);
    // Group, family and warehouse do not reach the default variant's text.
    EXPECT_EQ(provisioningSql(false, {kFirst, kLast, "009", "G1", "F1"}), expected);
}

const std::string kAlternateHead =
    " select ar.Codigo, ar.Abrev,ar.Nome, "
    " (select coalesce(sum((ABS(c .TPTERC - c.SINALCT) * 2 - 1)*(l.QtdOrig)),0) from Docgccab as c"
    " inner join DOCGCLIN as l ON l.tpdocum=c.Tpdoc and l.Nnumdoc=c.NNumdoc and l.serie=c.serie and l.ano=c.ano"
    " where c.Data>=CONVERT(DATETIME, '"
    "2024-01-05 00:00"
    "', 102) and c.Data<=CONVERT(DATETIME, '"
    "2024-03-31 23:59"
    "', 102) "
    "   And c.nvias <> -1 And c.AREAG = 4 And c.tpterc = 2 And c.natconta = 1"
    " and l.artigo=ar.Codigo and (l.armazem='002' or l.armazem='004') "
    " ) as Vendas,"
    " (Select sum(Existenc) from ArtArm where (ArtArm.Armazem='002' OR ArtArm.Armazem='004') and ArtArm.Artigo=ar.Codigo) as Existenc,"
    " ar.TotEncCl,ar.TotEncFo , "
    " (Select sum(Existenc) from ArtArm where (ArtArm.Armazem='002' OR ArtArm.Armazem='004') and ArtArm.Artigo=ar.Codigo)-ar.TotEncCl+ar.TotEncFo as Prazo"
    " ,coalesce(ar.Fornec,' ') as Fornec, coalesce(f.Nome,' ') as 'Nome Fornecedor'"
    " from Artigos as ar left outer join ArtArm as aa ON aa.artigo=ar.Codigo"
    " left outer Join Fornec as f ON f.Codigo=ar.Fornec"
    " Where ar.ArtouDes = 0 and (aa.Armazem='002' or aa.Armazem='004')";

const std::string kAlternateTail =
    " group by ar.Codigo, ar.Abrev,ar.Nome,ar.TotEncCl,ar.TotEncFo,coalesce(ar.Fornec,' '), coalesce(f.Nome,' ')"
    " order by (Select sum(Existenc) from ArtArm where (ArtArm.Armazem='002' OR ArtArm.Armazem='004') "
    " and ArtArm.Artigo=ar.Codigo)-ar.TotEncCl+ar.TotEncFo"
    ", ar.Codigo";

// clang-format on

TEST(ProvisioningSql, AlternateVariantTextWithAndWithoutGroupAndFamily) {
    EXPECT_EQ(provisioningAlternateSql(kFirst, kLast, "", ""), kAlternateHead + kAlternateTail);
    EXPECT_EQ(provisioningAlternateSql(kFirst, kLast, "G1", "F2"),
              kAlternateHead + " and ar.Grupo='G1' " + " and ar.familia='F2' " + kAlternateTail);
    EXPECT_EQ(provisioningAlternateSql(kFirst, kLast, "G1", ""),
              kAlternateHead + " and ar.Grupo='G1' " + kAlternateTail);
    EXPECT_EQ(provisioningAlternateSql(kFirst, kLast, "", "F2"),
              kAlternateHead + " and ar.familia='F2' " + kAlternateTail);
    EXPECT_EQ(provisioningSql(true, {kFirst, kLast, "009", "G1", ""}),
              kAlternateHead + " and ar.Grupo='G1' " + kAlternateTail);
}

TEST(ProvisioningSql, GroupAndFamilyKeepTheirBlanksAndDoubleTheirQuotes) {
    EXPECT_EQ(
        provisioningAlternateSql(kFirst, kLast, " G'1 ", "F''"),
        kAlternateHead + " and ar.Grupo=' G''1 ' " + " and ar.familia='F''''' " + kAlternateTail);
}

}  // namespace
}  // namespace talvers
