#pragma once
// The lookups the two order reports (pending orders, orders by supplier) make, built from their
// fixed T-SQL fragments. Texts go between the fragments' own quotes with quotes doubled; the
// year and number of a document go in bare, and only when they are whole numbers: otherwise
// the builder returns nullopt and the caller treats the lookup as one that found nothing,
// without sending anything.
#include <optional>
#include <string>
#include <string_view>

#include "reports/lookup/keyed_lookup.h"

namespace talvers {

// The name of the article's most recent supplier (one row at most, column NOME). Among
// purchases of the latest date the supplier with the lowest code is taken, so the answer does
// not depend on the order the database happens to read them in.
std::string lastSupplierSql(std::string_view article);

// The Lisbon order a customer order was exported from (column EncCliLx), by the order's type,
// series, year and number as they appear in its document key. An order exported from several
// Lisbon orders names the first of them by type, year, series and number.
std::optional<std::string> lisbonOrderSql(std::string_view type, std::string_view series,
                                          std::string_view year, std::string_view number);

// The customer of that Lisbon order (column CliLx), the first Lisbon order in the same order.
std::optional<std::string> lisbonCustomerSql(std::string_view type, std::string_view series,
                                             std::string_view year, std::string_view number);

// The article's open supplier orders as one text (column EncForn).
std::string supplierOrdersSql(std::string_view article);

// The article's supplier delivery notes as one text (column GuiaForn).
std::string deliveryNotesSql(std::string_view article);

// The same lookups for many keys at once. Keys: {article} for the supplier and the two
// document-key texts; {type, series, year, number} for the two Lisbon lookups.
KeyedLookup lastSupplierLookup();
KeyedLookup lisbonOrderLookup();
KeyedLookup lisbonCustomerLookup();
KeyedLookup supplierOrdersLookup();
KeyedLookup deliveryNotesLookup();

}  // namespace talvers
