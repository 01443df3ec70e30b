#pragma once
// The SQL texts of the orders-by-supplier report, built from the ERP statements exactly as
// they are sent to SQL Server (the SQLite backend rewrites them itself). Texts spliced between
// quotes have their quotes doubled; numbers spliced bare must be whole numbers, otherwise the
// builder returns nullopt and the caller treats the lookup as one that found nothing.
#include <optional>
#include <string>
#include <string_view>

#include "reports/lookup/keyed_lookup.h"
#include "reports/lookup/orders/order_lookups_sql.h"
#include "shell/dataaccess/date_time.h"

namespace talvers {

// The customer order lines dated on or after `startDate`, in date order (then by document
// type, year, series, number and line, so that no tie is left to the database), for ExtrairBDC:
// data, Doc (key with line number), NomeCli, Artigo, Quant, NomeArtigo.
std::string bdcCustomerLinesSql(const DateTime& startDate);
// The same lines for ExtrairDIID, which also reads the article's days figure (Dias).
std::string diidCustomerLinesSql(const DateTime& startDate);

// Stock of the article in warehouses "001" and "002" (Existencia; 0 when none).
std::string articleStockSql(std::string_view article);
// Total quantity on the article's open supplier order lines dated on or after `startDate`
// (Qtd; 0 when none).
std::string supplierTotalSql(std::string_view article, const DateTime& startDate);
// The article's open supplier order lines that carry a note row (Qtd, Obs), the oldest first
// (by date, then by document type, year, series, number and line), so that the notes a
// customer line collects never depend on the order the database reads the lines in.
std::string supplierLinesSql(std::string_view article, const DateTime& startDate);

// The last-supplier, end-customer and supplier-order lookups are the pending-orders report's
// own texts (lastSupplierSql, lisbonCustomerSql, supplierOrdersSql).
// The note of one supplier order line (OBS); `type` is used without its surrounding blanks.
std::optional<std::string> supplierOrderNoteSql(std::string_view type, std::string_view year,
                                                std::string_view series, std::string_view number,
                                                std::string_view line);

// The same lookups for many keys at once. Keys: {article} for the stock, the supplier total and
// the supplier lines; {type, year, series, number, line} for the note (type without blanks).
KeyedLookup articleStockLookup();
KeyedLookup supplierTotalLookup(const DateTime& startDate);
KeyedLookup supplierLinesLookup(const DateTime& startDate);
KeyedLookup supplierOrderNoteLookup();

}  // namespace talvers
