#include "reports/supplier/supplier_order_note.h"

#include "shell/dataaccess/text_utils.h"

namespace talvers {

std::optional<LookupKey> supplierOrderNoteKey(std::string_view supplierOrderText) {
    const std::string firstKey = splitText(supplierOrderText, ',').front();
    std::vector<std::string> parts = splitText(firstKey, '/');
    if (parts.size() != 5) return std::nullopt;
    return parts;
}

std::string supplierOrderNote(const Table& noteRows) {
    if (noteRows.empty()) return {};
    return trimBlanks(leftChars(noteRows.at(0, "OBS").toText(), 80));
}

}  // namespace talvers
