#include "reports/supplier/supplier_order_note.h"

#include "reports/supplier/supplier_sql.h"
#include "shell/dataaccess/text_utils.h"

namespace talvers {

std::string supplierOrderNote(Connection& bd, std::string_view supplierOrderText) {
    const std::string firstKey = splitText(supplierOrderText, ',').front();
    const std::vector<std::string> parts = splitText(firstKey, '/');
    if (parts.size() != 5) return {};
    const auto sql = supplierOrderNoteSql(parts[0], parts[1], parts[2], parts[3], parts[4]);
    if (!sql) return {};
    const Table note = bd.query(*sql);
    if (note.empty()) return {};
    return trimBlanks(leftChars(note.at(0, "OBS").toText(), 80));
}

}  // namespace talvers
