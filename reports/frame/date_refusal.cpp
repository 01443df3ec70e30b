#include "reports/frame/date_refusal.h"

namespace talvers {

std::optional<DateTime> parseDate(std::string_view text, DateOrder order) {
    if (text.size() != 10) return std::nullopt;
    if (order == DateOrder::YearFirst) return DateTime::parse(text);
    if (text[2] != '-' || text[5] != '-') return std::nullopt;
    // "dd-mm-yyyy" -> "yyyy-mm-dd", which DateTime reads.
    std::string iso(text.substr(6, 4));
    iso.append("-").append(text.substr(3, 2)).append("-").append(text.substr(0, 2));
    return DateTime::parse(iso);
}

std::string dateText(const DateTime& date, DateOrder order) {
    return order == DateOrder::YearFirst ? date.isoDate() : date.dmyDate();
}

std::string dateRefusal(std::string_view where, std::string_view text, DateOrder order) {
    const std::optional<DateTime> date = parseDate(text, order);
    if (!date) {
        return "Data inválida em " + std::string(where) + ": '" + std::string(text) +
               "' (formato " + (order == DateOrder::YearFirst ? "AAAA-MM-DD" : "DD-MM-AAAA") +
               ").";
    }
    if (*date < kFirstServerDate || *date > kLastServerDate) {
        return "Data fora do intervalo em " + std::string(where) + ": '" + std::string(text) +
               "' (de " + dateText(kFirstServerDate, order) + " a " +
               dateText(kLastServerDate, order) + ").";
    }
    return {};
}

}  // namespace talvers
