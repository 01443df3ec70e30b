#include "shell/workbook/workbook_columns.h"

#include <gtest/gtest.h>

namespace talvers {
namespace {

Table tableOf(FieldType type, int size, const std::string& name = "Campo") {
    return Table({Field{name, type, size}});
}

TEST(WorkbookColumns, NumberTypesGetWidth15AndTheNumberFormat) {
    for (FieldType type : {FieldType::Integer, FieldType::Double, FieldType::Money}) {
        const ColumnLayout layout = columnLayoutFor(tableOf(type, 8), 0);
        EXPECT_EQ(layout.kind, ColumnKind::Number);
        EXPECT_EQ(layout.width, 15.0);
    }
    // Numeric keeps its defined size; without one the default width stays.
    EXPECT_EQ(columnLayoutFor(tableOf(FieldType::Numeric, 12), 0).width, 12.0);
    EXPECT_EQ(columnLayoutFor(tableOf(FieldType::Numeric, 12), 0).kind, ColumnKind::Number);
    EXPECT_FALSE(columnLayoutFor(tableOf(FieldType::Numeric, 0), 0).width.has_value());
}

TEST(WorkbookColumns, TextKeepsItsDefinedSizeWithinTheSpreadsheetLimit) {
    EXPECT_EQ(columnLayoutFor(tableOf(FieldType::Text, 80), 0).width, 80.0);
    EXPECT_EQ(columnLayoutFor(tableOf(FieldType::Text, 80), 0).kind, ColumnKind::Plain);
    EXPECT_EQ(columnLayoutFor(tableOf(FieldType::Text, 4000), 0).width, 255.0);
    // Size 0 must not hide the column (width 0 would).
    EXPECT_FALSE(columnLayoutFor(tableOf(FieldType::Text, 0), 0).width.has_value());
}

TEST(WorkbookColumns, DateColumnsFitTheHeaderAndTheirValues) {
    Table dates = tableOf(FieldType::Date, 8, "Data");
    EXPECT_EQ(columnLayoutFor(dates, 0).width, 4 + 2.0);
    dates.addRow({DateTime{2024, 5, 13}});
    dates.addRow({Value()});
    EXPECT_EQ(columnLayoutFor(dates, 0).width, 10 + 2.0);  // "2024-05-13"
    dates.addRow({DateTime{2024, 5, 13, 9, 30, 0}});
    EXPECT_EQ(columnLayoutFor(dates, 0).width, 19 + 2.0);  // "2024-05-13 09:30:00"

    // Characters, not bytes: "Previsão de entrega" is 19 characters, 20 bytes.
    Table stamps = tableOf(FieldType::DateTime, 8, "Previsão de entrega");
    stamps.addRow({DateTime{2024, 5, 13}});
    EXPECT_EQ(columnLayoutFor(stamps, 0).width, 19 + 2.0);
    EXPECT_EQ(columnLayoutFor(stamps, 0).kind, ColumnKind::Plain);
}

}  // namespace
}  // namespace talvers
