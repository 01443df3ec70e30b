#include "reports/frame/desktop/report_table_model.h"

#include <QDateTime>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

namespace talvers {
namespace {

// The number format's kind of a field, decided by its type alone: a layout worked out on a
// table without rows, so that no column is scanned for it.
ColumnKind kindOf(const Field& field) {
    return columnLayoutFor(Table({field}), 0).kind;
}

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Whole units and hundredths, the units in groups of three as the workbook's number format
// groups them, with the locale's separators. (QLocale's own grouping leaves a short leading
// group unseparated in some locales: "1234 567" in Portuguese.)
QString centsText(bool negative, std::uint64_t cents, const QLocale& locale) {
    const QString digits = QString::number(cents / 100);
    QString units;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) units += locale.groupSeparator();
        units += digits[i];
    }
    QString text = units + locale.decimalPoint() +
                   QStringLiteral("%1").arg(static_cast<int>(cents % 100), 2, 10, QLatin1Char('0'));
    if (negative && cents != 0) text.prepend(locale.negativeSign());
    return text;
}

std::uint64_t magnitudeOf(std::int64_t number) {
    // Unsigned, so that the lowest int64 has a magnitude too.
    return number < 0 ? ~static_cast<std::uint64_t>(number) + 1
                      : static_cast<std::uint64_t>(number);
}

// Money keeps ten-thousandths; the display keeps hundredths, rounded half away from zero.
QString moneyText(Money money, const QLocale& locale) {
    return centsText(money.ticks() < 0, (magnitudeOf(money.ticks()) + 50) / 100, locale);
}

QString integerText(std::int64_t integer, const QLocale& locale) {
    const std::uint64_t magnitude = magnitudeOf(integer);
    constexpr std::uint64_t kMostUnits = UINT64_MAX / 100;
    if (magnitude > kMostUnits) return locale.toString(static_cast<qlonglong>(integer));
    return centsText(integer < 0, magnitude * 100, locale);
}

QString doubleText(double number, const QLocale& locale) {
    const double cents = std::round(std::fabs(number) * 100);
    // Beyond 2^63 hundredths a double has no hundredths left to show.
    if (cents >= 9.2e18) return locale.toString(number, 'f', 2);
    return centsText(number < 0, static_cast<std::uint64_t>(cents), locale);
}

QVariant sortKey(const Value& value) {
    if (value.isNull()) return {};
    if (value.isMoney()) return value.money().toDouble();
    if (value.isInteger()) return static_cast<double>(*value.toInteger());
    if (value.isDouble()) return value.doubleValue();
    if (value.isDateTime()) {
        const DateTime d = *value.toDateTime();
        return QDateTime(QDate(d.year, d.month, d.day), QTime(d.hour, d.minute, d.second));
    }
    return fromUtf8(value.text());
}

// A date as the pickers show it, "dd-mm-yyyy" (and the time, when it has one): for a date-time
// value, and for a text that is exactly a date "yyyy-mm-dd" (or "yyyy-mm-dd hh:mm:ss"), the
// leading blanks the reports put before their dates kept. Any other text is shown as it is.
std::optional<QString> dateText(const Value& value) {
    std::optional<DateTime> date;
    std::string_view lead;
    if (value.isDateTime()) {
        date = value.toDateTime();
    } else if (value.isText()) {
        const std::string_view text = value.text();
        const size_t start = text.find_first_not_of(' ');
        const std::string_view rest = start == std::string_view::npos ? "" : text.substr(start);
        if (rest.size() != 10 && rest.size() != 19) return std::nullopt;
        date = DateTime::parse(rest);
        lead = text.substr(0, start);
    }
    if (!date) return std::nullopt;
    const bool timed = date->hour != 0 || date->minute != 0 || date->second != 0;
    const std::string shown = date->dmyDate() + (timed ? date->isoDateTime().substr(10) : "");
    return fromUtf8(std::string(lead) + shown);
}

bool isNumber(const Value& value) {
    return value.isMoney() || value.isInteger() ||
           (value.isDouble() && std::isfinite(value.doubleValue()));
}

}  // namespace

ReportTableModel::ReportTableModel(std::shared_ptr<const Table> rows, const QLocale& locale,
                                   QObject* parent)
    : QAbstractTableModel(parent), rows_(std::move(rows)), locale_(locale) {
    kinds_.reserve(rows_->fieldCount());
    for (const Field& field : rows_->fields()) kinds_.push_back(kindOf(field));
}

int ReportTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_->rowCount());
}

int ReportTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_->fieldCount());
}

QVariant ReportTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const std::vector<Value>& row = rows_->row(static_cast<size_t>(index.row()));
    const auto column = static_cast<size_t>(index.column());
    // A row may be shorter than the fields: the missing values are null.
    static const Value null;
    const Value& value = column < row.size() ? row[column] : null;
    switch (role) {
        case Qt::DisplayRole:
            return display(value, index.column());
        case Qt::TextAlignmentRole:
            return kinds_[column] == ColumnKind::Number && isNumber(value)
                       ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                       : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        case kSortRole:
            return sortKey(value);
        default:
            return {};
    }
}

QVariant ReportTableModel::display(const Value& value, int column) const {
    if (value.isNull()) return {};
    if (kinds_[static_cast<size_t>(column)] == ColumnKind::Number)
        return numberText(value, locale_);
    if (std::optional<QString> date = dateText(value)) return *date;
    return fromUtf8(value.toText());
}

QVariant ReportTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || static_cast<size_t>(section) >= rows_->fieldCount()) return {};
    return fromUtf8(rows_->fields()[static_cast<size_t>(section)].name);
}

QString ReportTableModel::numberText(const Value& value, const QLocale& locale) {
    if (value.isMoney()) return moneyText(value.money(), locale);
    if (value.isInteger()) return integerText(*value.toInteger(), locale);
    if (value.isDouble() && std::isfinite(value.doubleValue())) {
        return doubleText(value.doubleValue(), locale);
    }
    return fromUtf8(value.toText());
}

}  // namespace talvers
