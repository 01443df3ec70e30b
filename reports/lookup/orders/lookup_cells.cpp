#include "reports/lookup/orders/lookup_cells.h"

#include "shell/dataaccess/text_utils.h"

namespace talvers {

std::string firstText(const Table& rows, std::string_view column, size_t size, const char* none) {
    if (rows.rowCount() < 1) return none;
    return leftChars(rows.at(0, column).toText(), size);
}

std::string lastSupplierName(const Table& rows) {
    if (rows.rowCount() < 1) return " ";
    std::string name = leftChars(rows.at(0, "NOME").toText(), 80);
    flattenLineFeeds(name);
    return name;
}

LookupKey lisbonKey(const std::string& doc) {
    const auto parts = splitText(doc, '/');
    auto part = [&parts](size_t n) { return n < parts.size() ? parts[n] : std::string(); };
    return {part(0), part(2), part(1), part(3)};
}

}  // namespace talvers
