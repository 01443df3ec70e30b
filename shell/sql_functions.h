#pragma once
// The CREATE texts of the two scalar functions the program installs in the ERP database at
// every start. Both list, for one article, the keys (type/year/series/number) of the document
// lines that match their filter, joined by ", ", or an empty text; they differ only in that
// filter. The texts are plain CREATEs: when a function exists the statement fails and the
// existing definition stays.
#include <string>

namespace talvers {

// CREATE FUNCTION [dbo].[qor_LinhaParaString] (open supplier-order lines).
std::string createLinhaParaStringSql();
// CREATE FUNCTION [dbo].[qor_LinhaParaStringGuia] (open supplier delivery-note lines).
std::string createLinhaParaStringGuiaSql();

}  // namespace talvers
