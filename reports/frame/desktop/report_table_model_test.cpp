#include "reports/frame/desktop/report_table_model.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTest>

#include "reports/frame/desktop/report_grid.h"

namespace talvers {
namespace {

Money money(const char* text) {
    return *Money::parse(text);
}

TEST(ReportTableModelNumbers, AsTheWorkbooksNumberFormatShowsThemInTheUsersLocale) {
    const QLocale pt(QLocale::Portuguese, QLocale::Portugal);
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    const QString g = pt.groupSeparator();
    const struct {
        Value value;
        QString portuguese;
        QString english;
    } cases[] = {
        {Value(money("1234567.5")), "1" + g + "234" + g + "567,50", "1,234,567.50"},
        {Value(money("0.005")), "0,01", "0.01"},  // half away from zero
        {Value(money("-0.005")), "-0,01", "-0.01"},
        {Value(money("-0.0049")), "0,00", "0.00"},  // no sign on a zero
        {Value(money("2.345")), "2,35", "2.35"},
        {Value(money("-98765.4321")), "-98" + g + "765,43", "-98,765.43"},
        {Value(Money::fromTicks(INT64_MIN)),
         "-922" + g + "337" + g + "203" + g + "685" + g + "477,58", "-922,337,203,685,477.58"},
        {Value(std::int64_t{-1234567}), "-1" + g + "234" + g + "567,00", "-1,234,567.00"},
        {Value(1234567.126), "1" + g + "234" + g + "567,13", "1,234,567.13"},
        {Value("12a"), "12a", "12a"},  // a text is shown as it is
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReportTableModel::numberText(c.value, pt), c.portuguese) << c.value.toText();
        EXPECT_EQ(ReportTableModel::numberText(c.value, en), c.english) << c.value.toText();
    }
}

// A report's rows: text, money, date and an integer count.
std::shared_ptr<const Table> sampleRows() {
    Table t({{"Artigo", FieldType::Text, 15},
             {"Valor", FieldType::Money, 0},
             {"Data", FieldType::DateTime, 0},
             {"Qtd", FieldType::Integer, 0},
             {"Obs", FieldType::Text, 10}});
    t.addRow({Value(" Bomba"), Value(money("10")), Value(DateTime{2024, 3, 1}), Value(3)});
    t.addRow({Value(" álcool"), Value(money("9.5")), Value(DateTime{2023, 12, 31, 10, 5, 0}),
              Value(12), Value("x")});
    t.addRow({Value(" Zinco"), Value(money("100")), Value(), Value(1), Value()});
    return std::make_shared<const Table>(std::move(t));
}

TEST(ReportTableModelCells, HeadingsCellsAndAlignmentFollowTheWorkbook) {
    const auto rows = sampleRows();
    const ReportTableModel model(rows, QLocale(QLocale::English, QLocale::UnitedStates));
    // The model reads the run's table itself.
    EXPECT_EQ(&model.table(), rows.get());
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(model.columnCount(), 5);
    QStringList headings;
    for (int c = 0; c < 5; ++c) headings << model.headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headings, QStringList({"Artigo", "Valor", "Data", "Qtd", "Obs"}));
    const auto cell = [&](int r, int c, int role = Qt::DisplayRole) {
        return model.data(model.index(r, c), role);
    };
    EXPECT_EQ(cell(0, 0).toString(), " Bomba");
    EXPECT_EQ(cell(1, 1).toString(), "9.50");
    EXPECT_EQ(cell(0, 2).toString(), "01-03-2024");
    EXPECT_EQ(cell(1, 2).toString(), "31-12-2023 10:05:00");
    EXPECT_EQ(cell(1, 3).toString(), "12.00");
    // The short first row and a null read as empty cells.
    EXPECT_FALSE(cell(0, 4).isValid());
    EXPECT_FALSE(cell(2, 2).isValid());
    const auto alignment = [&](int r, int c) {
        return cell(r, c, Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(alignment(0, 1), Qt::AlignRight);
    EXPECT_EQ(alignment(0, 3), Qt::AlignRight);
    EXPECT_EQ(alignment(0, 0), Qt::AlignLeft);
    EXPECT_EQ(alignment(0, 2), Qt::AlignLeft);
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
}

QStringList column(const ReportGrid& grid, int c) {
    QStringList texts;
    const QAbstractItemModel* shown = grid.model();
    for (int r = 0; r < shown->rowCount(); ++r) texts << shown->index(r, c).data().toString();
    return texts;
}

// The grid shows dates as the pickers do; a text that only looks like part of a date, or is no
// date at all, stays as the workbook holds it. The sort still goes by the date.
TEST(ReportGridDates, DatesShowDayFirstAsThePickersShowThem) {
    const std::pair<const char*, const char*> cases[] = {
        {" 2026-12-05", " 05-12-2026"},
        {"2024-02-29", "29-02-2024"},
        {"2026-12-05 10:05:00", "05-12-2026 10:05:00"},
        {"2026-02-30", "2026-02-30"},
        {" 2026-12-05 ", " 2026-12-05 "},
        {"2026-12-5", "2026-12-5"},
        {"2026-12-05x", "2026-12-05x"},
        {"ECL/2024/A/153", "ECL/2024/A/153"},
        {"", ""},
    };
    Table t({{"Data", FieldType::Text, 20}});
    for (const auto& [text, shown] : cases) t.addRow({Value(std::string(text))});
    ReportGrid grid;
    grid.showRows(std::make_shared<const Table>(std::move(t)));
    QStringList expected;
    for (const auto& [text, shown] : cases) expected << QString::fromUtf8(shown);
    EXPECT_EQ(column(grid, 0), expected);
}

TEST(ReportGridSorting, AHeadingClickSortsByValueAndTheThirdGivesTheReportOrderBack) {
    ReportGrid grid;
    grid.showRows(sampleRows(), QLocale(QLocale::English, QLocale::UnitedStates));
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    EXPECT_EQ(column(grid, 1), QStringList({"10.00", "9.50", "100.00"}));  // the report's order
    QHeaderView* header = grid.horizontalHeader();
    const auto clickHeading = [&](int c) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(c) + 5, header->height() / 2));
    };
    clickHeading(1);
    // Numerically, not as texts ("10.00" < "100.00" < "9.50").
    EXPECT_EQ(column(grid, 1), QStringList({"9.50", "10.00", "100.00"}));
    clickHeading(1);
    EXPECT_EQ(column(grid, 1), QStringList({"100.00", "10.00", "9.50"}));
    clickHeading(1);
    EXPECT_EQ(column(grid, 1), QStringList({"10.00", "9.50", "100.00"}));
    // Dates by date, the empty one last.
    clickHeading(2);
    EXPECT_EQ(column(grid, 2), QStringList({"31-12-2023 10:05:00", "01-03-2024", ""}));
    clickHeading(3);
    EXPECT_EQ(column(grid, 3), QStringList({"1.00", "3.00", "12.00"}));

    // New rows start in their own order; no rows empty the grid.
    grid.showRows(sampleRows(), QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(column(grid, 0), QStringList({" Bomba", " álcool", " Zinco"}));
    grid.showRows(std::make_shared<const Table>(Table({{"A", FieldType::Text, 1}})));
    EXPECT_EQ(grid.model()->rowCount(), 0);
    EXPECT_EQ(grid.rows(), nullptr);
    grid.showRows(nullptr);
    EXPECT_EQ(grid.model()->columnCount(), 0);
}

}  // namespace
}  // namespace talvers
