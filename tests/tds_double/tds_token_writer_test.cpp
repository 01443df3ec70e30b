#include "tests/tds_double/tds_token_writer.h"

#include <gtest/gtest.h>

#include "tests/tds_double/tds_protocol.h"

namespace talvers {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The bytes one value of `type` takes in a ROW token (the token byte left out).
Bytes valueBytes(const char* type, const Value& value, TdsTextEncoding encoding = {}) {
    TdsTokenWriter writer(encoding);
    writer.columns({{"c", *SqlServerType::parse(type), true, "t"}});
    writer.clear();
    writer.row({value});
    const Bytes& all = writer.bytes();
    return Bytes(all.begin() + (value.isNull() ? 2 : 1), all.end());
}

TEST(TdsTokenWriter, ValuesInSqlServersLayout) {
    const struct {
        const char* type;
        Value value;
        Bytes bytes;
    } cases[] = {
        {"int", Value(-2), {4, 0xFE, 0xFF, 0xFF, 0xFF}},
        {"smallint", Value(300), {2, 0x2C, 0x01}},
        {"bit", Value(1), {1, 1}},
        // Money: the high four bytes first, then the low ones, each little-endian.
        {"money", Value(Money::fromTicks(-1)), {8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"money", Value(Money::fromTicks(0x100000002)), {8, 1, 0, 0, 0, 2, 0, 0, 0}},
        // Decimals: sign, then the magnitude scaled to the column's own scale.
        {"decimal(18,3)", Value(Money::fromTicks(25000)), {9, 1, 0xC4, 0x09, 0, 0, 0, 0, 0, 0}},
        {"decimal(9,6)", Value(Money::fromTicks(-15)), {5, 0, 0xDC, 0x05, 0, 0}},  // -0.0015
        {"float", Value(2.5), {8, 0, 0, 0, 0, 0, 0, 0x04, 0x40}},
        // Days since 1900-01-01, then three hundredths of a second: .999 rounds up to the
        // next day as on the server, .998 down to .997 like .997 itself.
        {"datetime", Value(DateTime{1900, 1, 2, 0, 0, 1}), {8, 1, 0, 0, 0, 44, 1, 0, 0}},
        {"datetime", Value(DateTime{1900, 1, 1, 23, 59, 59, 999}), {8, 1, 0, 0, 0, 0, 0, 0, 0}},
        {"datetime",
         Value(DateTime{1900, 1, 1, 23, 59, 59, 998}),
         {8, 0, 0, 0, 0, 0xFF, 0x81, 0x8B, 0x01}},
        {"varchar(5)", Value("ç€"), {2, 0, 0xE7, 0x80}},
        {"nvarchar(5)", Value("ç"), {2, 0, 0xE7, 0}},
        {"nvarchar(max)", Value("a"), {2, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 'a', 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(valueBytes(c.type, c.value), c.bytes) << c.type << " " << c.value.toText();
    }
}

TEST(TdsTokenWriter, LongValuesAreCutAtTheTextSizeAndNullsGoInTheBitmap) {
    const std::string text(10, 'x');
    // A text: pointer length, pointer, timestamp, then the value cut to 4 bytes.
    const Bytes cut = valueBytes("text", Value(text), {false, 4});
    ASSERT_EQ(cut.size(), 1u + 16 + 8 + 4 + 4);
    EXPECT_EQ(Bytes(cut.begin() + 25, cut.begin() + 29), (Bytes{4, 0, 0, 0}));
    // An ntext cut at an odd size keeps whole UTF-16 units.
    const Bytes unicode = valueBytes("ntext", Value(text), {false, 5});
    EXPECT_EQ(Bytes(unicode.begin() + 25, unicode.begin() + 29), (Bytes{4, 0, 0, 0}));
    // NBCROW: a bitmap of the NULL columns, then the others only.
    TdsTokenWriter writer;
    writer.columns({{"a", SqlServerType{SqlServerKind::Int}, true, ""},
                    {"b", SqlServerType{SqlServerKind::Int}, true, ""}});
    writer.clear();
    writer.row({Value(), Value(7)});
    EXPECT_EQ(writer.bytes(), (Bytes{tds::kNbcRow, 0x01, 4, 7, 0, 0, 0}));
    // A value its column cannot hold is refused, leaving no half row behind.
    writer.clear();
    EXPECT_THROW(writer.row({Value(1), Value("muito")}), std::invalid_argument);
    EXPECT_TRUE(writer.bytes().empty());
}

TEST(TdsTokenWriter, PacketsAreCutAtThePacketSize) {
    const Bytes payload(1000, 0xAB);
    const Bytes packets = tdsPackets(tds::kReply, payload, 512, true);
    ASSERT_EQ(packets.size(), 1000u + 2 * 8);
    EXPECT_EQ(Bytes(packets.begin(), packets.begin() + 4), (Bytes{tds::kReply, 0, 0x02, 0x00}));
    EXPECT_EQ(Bytes(packets.begin() + 512, packets.begin() + 516),
              (Bytes{tds::kReply, tds::kEndOfMessage, 0x01, 0xF8}));  // 496 + 8
    EXPECT_EQ(tdsPackets(tds::kReply, payload, 512, false)[513], 0);  // no end mark
}

}  // namespace
}  // namespace talvers
