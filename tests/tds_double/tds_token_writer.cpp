#include "tests/tds_double/tds_token_writer.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

#include "shell/dataaccess/odbc/utf16_text.h"
#include "shell/dataaccess/windows_1252.h"
#include "tests/tds_double/tds_protocol.h"

namespace talvers {
namespace {

// SQL_Latin1_General_CP1_CI_AS (code page 1252): LCID 0x0409, case, kana and width
// ignored, sort order 52.
constexpr std::uint8_t kCp1252Collation[5] = {0x09, 0x04, 0xD0, 0x00, 0x34};
// Latin1_General_100_CI_AS_SC_UTF8: the same rules, the UTF-8 flag and version 2.
constexpr std::uint8_t kUtf8Collation[5] = {0x09, 0x04, 0xD0, 0x24, 0x00};

constexpr std::uint64_t kPlpNull = ~std::uint64_t{0};
constexpr std::uint32_t kPlpChunk = 8000;
// Days from 0001-01-01 to 1900-01-01, SQL Server's day 0 for datetime.
constexpr long kTicksPerDay = 24L * 60 * 60 * 300;

std::uint8_t intLength(SqlServerKind kind) {
    switch (kind) {
        case SqlServerKind::TinyInt:
            return 1;
        case SqlServerKind::SmallInt:
            return 2;
        case SqlServerKind::Int:
            return 4;
        default:
            return 8;
    }
}

// The bytes of a decimal's magnitude for its precision.
std::uint8_t decimalLength(int precision) {
    if (precision <= 9) return 4;
    if (precision <= 19) return 8;
    if (precision <= 28) return 12;
    return 16;
}

long daysFrom1900(const DateTime& date) {
    // Days since 1970-01-01 (H. Hinnant's algorithm), shifted to 1900-01-01.
    int y = date.year;
    const int m = date.month;
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468 + 25567;
}

bool isInteger(SqlServerKind kind) {
    return kind == SqlServerKind::Bit || kind == SqlServerKind::TinyInt ||
           kind == SqlServerKind::SmallInt || kind == SqlServerKind::Int ||
           kind == SqlServerKind::BigInt;
}

}  // namespace

void TdsTokenWriter::u16(std::uint16_t v) {
    byte(static_cast<std::uint8_t>(v));
    byte(static_cast<std::uint8_t>(v >> 8));
}
void TdsTokenWriter::u32(std::uint32_t v) {
    u16(static_cast<std::uint16_t>(v));
    u16(static_cast<std::uint16_t>(v >> 16));
}
void TdsTokenWriter::u64(std::uint64_t v) {
    u32(static_cast<std::uint32_t>(v));
    u32(static_cast<std::uint32_t>(v >> 32));
}

void TdsTokenWriter::usVarChar(std::string_view utf8) {
    const std::u16string text = utf8ToUtf16(utf8).substr(0, 0xFFFF);
    u16(static_cast<std::uint16_t>(text.size()));
    for (const char16_t c : text) u16(c);
}

void TdsTokenWriter::bVarChar(std::string_view utf8) {
    const std::u16string text = utf8ToUtf16(utf8).substr(0, 0xFF);
    byte(static_cast<std::uint8_t>(text.size()));
    for (const char16_t c : text) u16(c);
}

void TdsTokenWriter::collation() {
    const std::uint8_t* bytes = encoding_.utf8 ? kUtf8Collation : kCp1252Collation;
    out_.insert(out_.end(), bytes, bytes + 5);
}

void TdsTokenWriter::loginAck(std::string_view product, int majorVersion) {
    const std::u16string name = utf8ToUtf16(product);
    byte(tds::kLoginAck);
    u16(static_cast<std::uint16_t>(1 + 4 + 1 + 2 * name.size() + 4));
    byte(1);  // the interface: T-SQL
    // The version goes big-endian: 0x74000004.
    for (int shift = 24; shift >= 0; shift -= 8)
        byte(static_cast<std::uint8_t>(tds::kTds74 >> shift));
    bVarChar(product);
    byte(static_cast<std::uint8_t>(majorVersion));
    byte(0);
    byte(0x07);
    byte(0xD0);
}

void TdsTokenWriter::envChange(std::uint8_t type, std::string_view newValue,
                               std::string_view oldValue) {
    const std::size_t length =
        1 + 1 + 2 * utf8ToUtf16(newValue).size() + 1 + 2 * utf8ToUtf16(oldValue).size();
    byte(tds::kEnvChange);
    u16(static_cast<std::uint16_t>(length));
    byte(type);
    bVarChar(newValue);
    bVarChar(oldValue);
}

void TdsTokenWriter::collationChange() {
    byte(tds::kEnvChange);
    u16(1 + 1 + 5 + 1);
    byte(tds::kEnvCollation);
    byte(5);
    collation();
    byte(0);
}

void TdsTokenWriter::message(const ServerMessage& message, bool error) {
    constexpr std::string_view kServer = "TDSDOUBLE";
    // The token's length must fit its two bytes: a text naming a long statement is cut to
    // the most they allow.
    constexpr std::size_t kMostUnits =
        (0xFFFF - (4 + 1 + 1 + 2 + 1 + 2 * kServer.size() + 1 + 4)) / 2;
    const std::u16string units = utf8ToUtf16(message.text);
    const std::string text =
        units.size() > kMostUnits ? utf16ToUtf8(units.substr(0, kMostUnits)) : message.text;
    const std::size_t textUnits = std::min(units.size(), kMostUnits);
    byte(error ? tds::kError : tds::kInfo);
    u16(static_cast<std::uint16_t>(4 + 1 + 1 + 2 + 2 * textUnits + 1 + 2 * kServer.size() + 1 + 4));
    u32(static_cast<std::uint32_t>(message.number));
    byte(static_cast<std::uint8_t>(message.state));
    byte(static_cast<std::uint8_t>(message.severity));
    usVarChar(text);
    bVarChar(kServer);
    bVarChar("");  // no procedure
    u32(1);        // line 1 of the batch
}

void TdsTokenWriter::typeInfo(const TdsColumn& column) {
    const SqlServerType& t = column.type;
    switch (t.kind) {
        case SqlServerKind::Bit:
            byte(tds::kBitN);
            byte(1);
            return;
        case SqlServerKind::TinyInt:
        case SqlServerKind::SmallInt:
        case SqlServerKind::Int:
        case SqlServerKind::BigInt:
            if (!column.nullable && t.kind == SqlServerKind::Int) {
                byte(tds::kInt4);
                return;
            }
            byte(tds::kIntN);
            byte(intLength(t.kind));
            return;
        case SqlServerKind::SmallMoney:
        case SqlServerKind::Money:
            byte(tds::kMoneyN);
            byte(t.kind == SqlServerKind::Money ? 8 : 4);
            return;
        case SqlServerKind::Decimal:
            byte(tds::kDecimalN);
            byte(static_cast<std::uint8_t>(1 + decimalLength(t.precision)));
            byte(static_cast<std::uint8_t>(t.precision));
            byte(static_cast<std::uint8_t>(t.scale));
            return;
        case SqlServerKind::Real:
        case SqlServerKind::Float:
            byte(tds::kFloatN);
            byte(t.kind == SqlServerKind::Float ? 8 : 4);
            return;
        case SqlServerKind::DateTime:
            byte(tds::kDateTimeN);
            byte(8);
            return;
        case SqlServerKind::Text:
        case SqlServerKind::NText:
            byte(t.kind == SqlServerKind::Text ? tds::kText : tds::kNText);
            u32(t.kind == SqlServerKind::Text ? 0x7FFFFFFF : 0x7FFFFFFE);
            collation();
            if (column.table.empty()) {
                byte(0);
            } else {
                byte(2);
                usVarChar("dbo");
                usVarChar(column.table);
            }
            return;
        default:
            break;
    }
    const bool unicode = t.isUnicode();
    const bool fixed = t.kind == SqlServerKind::Char || t.kind == SqlServerKind::NChar;
    byte(unicode ? (fixed ? tds::kNChar : tds::kNVarChar)
                 : (fixed ? tds::kBigChar : tds::kBigVarChar));
    if (t.length == SqlServerType::kMax) {
        u16(0xFFFF);
    } else if (unicode) {
        u16(static_cast<std::uint16_t>(2 * t.length));
    } else {
        // A UTF-8 column's length counts bytes; its characters take up to four.
        u16(static_cast<std::uint16_t>(encoding_.utf8 ? std::min(8000, 4 * t.length) : t.length));
    }
    collation();
}

void TdsTokenWriter::columns(const std::vector<TdsColumn>& columns) {
    columns_ = columns;
    byte(tds::kColMetadata);
    u16(static_cast<std::uint16_t>(columns.size()));
    for (const TdsColumn& column : columns) {
        u32(0);  // user type
        u16(column.nullable ? 0x0001 : 0x0000);
        typeInfo(column);
        bVarChar(column.name);
    }
}

std::string TdsTokenWriter::characterBytes(const TdsColumn& column, const Value& value) const {
    const std::string text = value.toText();
    if (column.type.isUnicode()) {
        const std::u16string units = utf8ToUtf16(text);
        std::string bytes;
        bytes.reserve(2 * units.size());
        for (const char16_t c : units) {
            bytes += static_cast<char>(c & 0xFF);
            bytes += static_cast<char>(c >> 8);
        }
        return bytes;
    }
    return encoding_.utf8 ? text : utf8ToWindows1252(text);
}

void TdsTokenWriter::value(const TdsColumn& column, const Value& v) {
    const SqlServerType& t = column.type;
    // A UTF-8 collation holds every character, as nvarchar does.
    SqlServerType stored = t;
    if (encoding_.utf8 && t.isCharacter() && !t.isUnicode()) {
        stored.kind =
            t.kind == SqlServerKind::Text ? SqlServerKind::NText : SqlServerKind::NVarChar;
    }
    if (const std::string why = whyValueDoesNotFit(stored, v); !why.empty()) {
        throw std::invalid_argument("o valor da coluna " + column.name + " " + why);
    }
    if (isInteger(t.kind)) {
        const std::int64_t n = *v.toInteger();
        const std::uint8_t length = t.kind == SqlServerKind::Bit ? 1 : intLength(t.kind);
        if (column.nullable || t.kind != SqlServerKind::Int) byte(length);
        for (int i = 0; i < length; ++i) byte(static_cast<std::uint8_t>(n >> (8 * i)));
        return;
    }
    switch (t.kind) {
        case SqlServerKind::SmallMoney:
        case SqlServerKind::Money: {
            const std::int64_t ticks = v.toMoney()->ticks();
            if (t.kind == SqlServerKind::SmallMoney) {
                byte(4);
                u32(static_cast<std::uint32_t>(ticks));
            } else {
                byte(8);
                u32(static_cast<std::uint32_t>(static_cast<std::uint64_t>(ticks) >> 32));
                u32(static_cast<std::uint32_t>(ticks));
            }
            return;
        }
        case SqlServerKind::Decimal: {
            std::int64_t ticks = v.toMoney()->ticks();
            for (int s = 4; s > t.scale; --s) ticks /= 10;  // exact: whyValueDoesNotFit
            // The magnitude, little-endian, times 10 for each decimal past the fourth.
            std::uint64_t absolute = ticks < 0 ? 0 - static_cast<std::uint64_t>(ticks)
                                               : static_cast<std::uint64_t>(ticks);
            std::uint8_t magnitude[16] = {};
            for (std::uint8_t& b : magnitude) {
                b = static_cast<std::uint8_t>(absolute);
                absolute >>= 8;
            }
            for (int s = 4; s < t.scale; ++s) {
                unsigned carry = 0;
                for (std::uint8_t& b : magnitude) {
                    const unsigned product = b * 10u + carry;
                    b = static_cast<std::uint8_t>(product);
                    carry = product >> 8;
                }
            }
            const std::uint8_t length = decimalLength(t.precision);
            byte(static_cast<std::uint8_t>(1 + length));
            byte(ticks < 0 ? 0 : 1);
            for (int i = 0; i < length; ++i) byte(magnitude[i]);
            return;
        }
        case SqlServerKind::Real:
        case SqlServerKind::Float: {
            const double d = v.isDouble() ? v.doubleValue() : v.toMoney()->toDouble();
            if (t.kind == SqlServerKind::Real) {
                const float f = static_cast<float>(d);
                std::uint32_t bits;
                std::memcpy(&bits, &f, sizeof bits);
                byte(4);
                u32(bits);
            } else {
                std::uint64_t bits;
                std::memcpy(&bits, &d, sizeof bits);
                byte(8);
                u64(bits);
            }
            return;
        }
        case SqlServerKind::DateTime: {
            const DateTime date = *v.toDateTime();
            long days = daysFrom1900(date);
            // Thirds of a millisecond rounded to SQL Server's steps of 1/300 s; .999 rounds
            // into the next day, as on the server.
            const double seconds =
                date.hour * 3600.0 + date.minute * 60.0 + date.second + date.millisecond / 1000.0;
            long ticks = std::lround(seconds * 300.0);
            if (ticks >= kTicksPerDay) {
                ticks -= kTicksPerDay;
                ++days;
            }
            byte(8);
            u32(static_cast<std::uint32_t>(days));
            u32(static_cast<std::uint32_t>(ticks));
            return;
        }
        default:
            break;
    }
    std::string bytes = characterBytes(column, v);
    if (t.isLarge()) {
        std::size_t most = encoding_.textSize;
        if (t.isUnicode()) most -= most % 2;
        if (bytes.size() > most) bytes.resize(most);
    }
    if (t.kind == SqlServerKind::Text || t.kind == SqlServerKind::NText) {
        byte(16);
        for (int i = 0; i < 16; ++i) byte(0xAA);  // a text pointer the client only holds
        for (int i = 0; i < 8; ++i) byte(0);      // its timestamp
        u32(static_cast<std::uint32_t>(bytes.size()));
    } else if (t.length == SqlServerType::kMax) {
        u64(bytes.size());
        for (std::size_t at = 0; at < bytes.size(); at += kPlpChunk) {
            const std::size_t chunk = std::min<std::size_t>(kPlpChunk, bytes.size() - at);
            u32(static_cast<std::uint32_t>(chunk));
            out_.insert(out_.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                        bytes.begin() + static_cast<std::ptrdiff_t>(at + chunk));
        }
        u32(0);
        return;
    } else {
        u16(static_cast<std::uint16_t>(bytes.size()));
    }
    out_.insert(out_.end(), bytes.begin(), bytes.end());
}

void TdsTokenWriter::row(const std::vector<Value>& values) {
    if (values.size() != columns_.size()) throw std::invalid_argument("row of another width");
    bool anyNull = false;
    for (const Value& v : values) anyNull = anyNull || v.isNull();
    const std::size_t start = out_.size();
    try {
        if (!anyNull) {
            byte(tds::kRow);
            for (std::size_t i = 0; i < values.size(); ++i) value(columns_[i], values[i]);
            return;
        }
        byte(tds::kNbcRow);
        std::vector<std::uint8_t> bitmap((values.size() + 7) / 8, 0);
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (values[i].isNull()) bitmap[i / 8] |= static_cast<std::uint8_t>(1 << (i % 8));
        }
        out_.insert(out_.end(), bitmap.begin(), bitmap.end());
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (!values[i].isNull()) value(columns_[i], values[i]);
        }
    } catch (...) {
        out_.resize(start);  // no half row
        throw;
    }
}

void TdsTokenWriter::done(std::uint16_t status, std::uint64_t rowCount) {
    byte(tds::kDone);
    u16(status);
    u16(0xC1);  // the current command: SELECT
    u64(rowCount);
}

std::vector<std::uint8_t> tdsPackets(std::uint8_t type, const std::vector<std::uint8_t>& payload,
                                     std::size_t packetSize, bool lastPart) {
    const std::size_t room = packetSize - tds::kHeaderSize;
    std::vector<std::uint8_t> out;
    std::uint8_t number = 1;
    std::size_t at = 0;
    do {
        const std::size_t chunk = std::min(room, payload.size() - at);
        const bool last = lastPart && at + chunk == payload.size();
        const std::size_t length = chunk + tds::kHeaderSize;
        const std::uint8_t header[8] = {type,
                                        static_cast<std::uint8_t>(last ? tds::kEndOfMessage : 0),
                                        static_cast<std::uint8_t>(length >> 8),
                                        static_cast<std::uint8_t>(length),
                                        0,
                                        0x35,  // the connection's SPID, 53
                                        number++,
                                        0};
        out.insert(out.end(), header, header + 8);
        out.insert(out.end(), payload.begin() + static_cast<std::ptrdiff_t>(at),
                   payload.begin() + static_cast<std::ptrdiff_t>(at + chunk));
        at += chunk;
    } while (at < payload.size());
    return out;
}

}  // namespace talvers
