#include "shell/sql_functions.h"

#include <gtest/gtest.h>

#include <vector>

namespace talvers {
namespace {

// The CREATE texts fragment by fragment, as the database has always received them.
std::vector<std::string> guiaFragments() {
    return {
        " Create FUNCTION [dbo].[qor_LinhaParaStringGuia]",
        " ( @Artigo nvarchar (15)",
        " )",
        " RETURNS NVARCHAR(4000)",
        " AS",
        " BEGIN",
        " DECLARE @SubFamilias VARCHAR(4000)",
        " SELECT @SubFamilias = COALESCE(@SubFamilias + ', ', '') + c.TpDoc+'/'+CAST( c.Ano as "
        "nvarchar(4))+'/'+c.Serie+'/'+CAST(c.NNumDoc as nvarchar(10))",
        " FROM    DOCGCCAB as c",
        " INNER JOIN  DOCGCLIN as l ON c.NNUMDOC = l.NNUMDOC AND c.TPDOC = l.TPDOCUM AND c.SERIE = "
        "l.SERIE",
        " AND c.ANO = l.ANO",
        " where   c.nvias<>-1 and c.areag=4 and c.Tpterc=1 and c.TpfStc=1 and c.Natconta=2 and "
        "l.quant>0 and [convert]<>-1 and l.ARTIGO >''",
        " and l.artigo=@Artigo",
        " SELECT @SubFamilias = COALESCE(@SubFamilias , '')",
        " RETURN @SubFamilias",
        " End ",
    };
}

std::string joined(const std::vector<std::string>& fragments) {
    std::string text;
    for (const std::string& f : fragments) text += f;
    return text;
}

TEST(SqlFunctions, GuiaCreateTextIsTheSixteenFragments) {
    EXPECT_EQ(createLinhaParaStringGuiaSql(), joined(guiaFragments()));
}

TEST(SqlFunctions, LinhaParaStringDiffersInNameAndFilterOnly) {
    std::vector<std::string> fragments = guiaFragments();
    fragments[0] = " Create FUNCTION [dbo].[qor_LinhaParaString]";
    fragments[11] =
        " where   c.nvias<>-1 and c.areag=2 and c.Tpterc=1 and l.quant>0 and [convert]<>-1 and "
        "l.ARTIGO >''";
    EXPECT_EQ(createLinhaParaStringSql(), joined(fragments));
}

}  // namespace
}  // namespace talvers
