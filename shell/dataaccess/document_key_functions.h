#pragma once
// The pieces of the two scalar functions qor_LinhaParaString and qor_LinhaParaStringGuia,
// shared by the CREATE texts installed on SQL Server and by the SQLite backend's native
// versions, so that both select exactly the same document lines. For one article they list
// the keys (type/year/series/number) of the lines their filter selects.
namespace talvers::document_key_functions {

// The key of a document, written by the database.
inline constexpr const char* kKey =
    "c.TpDoc+'/'+CAST( c.Ano as nvarchar(4))+'/'+c.Serie+'/'+CAST(c.NNumDoc as nvarchar(10))";
// Headers joined to their lines, in two fragments as the CREATE texts have them: kFrom,
// kJoin + kJoinCondition, then kJoinYear.
inline constexpr const char* kFrom = " FROM    DOCGCCAB as c";
inline constexpr const char* kJoin = " INNER JOIN  DOCGCLIN as l ON ";
inline constexpr const char* kJoinCondition =
    "c.NNUMDOC = l.NNUMDOC AND c.TPDOC = l.TPDOCUM AND c.SERIE = l.SERIE";
inline constexpr const char* kJoinYear = " AND c.ANO = l.ANO";
// Open supplier-order lines (qor_LinhaParaString).
inline constexpr const char* kSupplierOrderFilter =
    " where   c.nvias<>-1 and c.areag=2 and c.Tpterc=1 and l.quant>0 and [convert]<>-1 and "
    "l.ARTIGO >''";
// Open supplier delivery-note lines (qor_LinhaParaStringGuia).
inline constexpr const char* kDeliveryNoteFilter =
    " where   c.nvias<>-1 and c.areag=4 and c.Tpterc=1 and c.TpfStc=1 and c.Natconta=2 and "
    "l.quant>0 and [convert]<>-1 and l.ARTIGO >''";

}  // namespace talvers::document_key_functions
