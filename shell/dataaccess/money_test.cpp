#include "shell/dataaccess/money.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/money_field.h"

namespace talvers {
namespace {

TEST(Money, ParsesDriverTextExactly) {
    EXPECT_EQ(Money::parse("1234.5678")->ticks(), 12345678);
    EXPECT_EQ(Money::parse("-0.75")->ticks(), -7500);
    EXPECT_EQ(Money::parse("10")->ticks(), 100000);
    EXPECT_EQ(Money::parse(".5")->ticks(), 5000);
    EXPECT_EQ(Money::parse("1E+2")->ticks(), 1000000);
    EXPECT_EQ(Money::parse("2.50000")->ticks(), 25000);
    // More than four decimals round half away from zero.
    EXPECT_EQ(Money::parse("0.00005")->ticks(), 1);
    EXPECT_EQ(Money::parse("-0.00005")->ticks(), -1);
    EXPECT_EQ(Money::parse("922337203685477.5807")->ticks(),
              std::numeric_limits<std::int64_t>::max());
}

TEST(Money, RefusesWhatIsNotANumber) {
    for (const char* bad : {"", "-", "abc", "1,5", "1.2.3", "12x", "1e", "99999999999999999999"}) {
        EXPECT_FALSE(Money::parse(bad).has_value()) << bad;
    }
}

TEST(Money, PlainNumberForm) {
    EXPECT_EQ(Money::fromInteger(3).plainText(','), "3");
    EXPECT_EQ(Money::parse("2.5")->plainText(','), "2,5");
    EXPECT_EQ(Money::parse("2.5")->plainText('.'), "2.5");
    EXPECT_EQ(Money::parse("-0.75")->plainText(','), "-0,75");
    EXPECT_EQ(Money::parse("1234567.8901")->plainText(','), "1234567,8901");
    EXPECT_EQ(Money::parse("0.0001")->plainText('.'), "0.0001");
    EXPECT_EQ(Money().plainText(','), "0");
    EXPECT_EQ(Money::fromTicks(std::numeric_limits<std::int64_t>::min()).plainText('.'),
              "-922337203685477.5808");
}

TEST(Money, ArithmeticIsExactAndChecked) {
    // 0.1 + 0.2 is exactly 0.3 here, unlike in double.
    EXPECT_EQ(*Money::parse("0.1") + *Money::parse("0.2"), *Money::parse("0.3"));
    EXPECT_EQ(Money::fromDouble(0.1 + 0.2), *Money::parse("0.3"));
    EXPECT_LT(Money::fromInteger(3) - Money::fromInteger(10), Money());
    const Money max = Money::fromTicks(std::numeric_limits<std::int64_t>::max());
    EXPECT_THROW(max + Money::fromTicks(1), std::overflow_error);
    EXPECT_THROW(Money::fromDouble(1e300), std::overflow_error);
}

}  // namespace
}  // namespace talvers

namespace talvers {
namespace {

TEST(MoneyField, NullStaysNullNumbersAreExactAndTextIsAFault) {
    Table rows({{"Quant", FieldType::Money, 0}});
    rows.addRow({Value()});
    rows.addRow({Value("2.5000")});
    rows.addRow({Value(0.1 + 0.2)});
    rows.addRow({Value("dez")});
    EXPECT_FALSE(moneyField(rows, 0, "quant").has_value());
    EXPECT_TRUE(moneyCell(rows, 0, "Quant").isNull());
    EXPECT_EQ(moneyField(rows, 1, "Quant"), Money::parse("2.5"));
    EXPECT_EQ(moneyCell(rows, 2, "Quant"), Value(*Money::parse("0.3")));
    try {
        moneyField(rows, 3, "Quant");
        ADD_FAILURE() << "a text that is no number was read";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.description(), "O campo 'Quant' não tem um valor numérico: 'dez'.");
    }
}

TEST(MoneyField, ANumberBeyondTheRangeIsCalledSo) {
    Table rows({{"Quant", FieldType::Money, 0}, {"Artigo", FieldType::Text, 0}});
    rows.addRow({Value("99999999999999999999"), Value("A1")});
    rows.addRow({Value(1e300), Value("A1")});
    rows.addRow({Value(std::numeric_limits<std::int64_t>::max()), Value("A1")});
    rows.addRow({Value("1e999"), Value("A1")});
    const char* shown[] = {"99999999999999999999", "1e+300", "9223372036854775807", "1e999"};
    for (size_t row = 0; row < rows.rowCount(); ++row) {
        try {
            moneyField(rows, row, "Quant", "A1");
            ADD_FAILURE() << row;
        } catch (const DatabaseError& error) {
            EXPECT_EQ(error.number(), kMoneyOutOfRangeError);
            EXPECT_EQ(error.description(),
                      std::string("O campo 'Quant' do artigo 'A1' tem um valor fora do intervalo "
                                  "dos montantes: '") +
                          shown[row] + "'.");
        }
    }
    // Exactly zero is zero however it is written.
    EXPECT_EQ(Money::parseInRange("0e999"), Money());
}

}  // namespace
}  // namespace talvers
