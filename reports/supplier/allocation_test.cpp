#include "reports/supplier/allocation.h"

#include <gtest/gtest.h>

namespace talvers {
namespace {

Money m(std::int64_t units) {
    return Money::fromInteger(units);
}

// A customer line as the copy pass leaves it: empty availability, estimate of one blank.
LineAllocation fresh(ArticleAllocation& a, Money quantity) {
    return a.allocate(quantity, "", " ");
}

TEST(ArticleAllocation, StockCoversTheLineUpToAnExactMatch) {
    ArticleAllocation a(m(10), m(5), {}, '.');
    LineAllocation first = fresh(a, m(4));
    EXPECT_EQ(first.allocationCase, AllocationCase::InStock);
    EXPECT_EQ(first.availability, "Em Stock");
    EXPECT_EQ(first.estimate, " ");
    EXPECT_EQ(a.stockLeft(), m(6));
    EXPECT_EQ(a.supplierLeft(), m(5));

    LineAllocation exact = fresh(a, m(6));  // Q = S is still covered by stock
    EXPECT_EQ(exact.allocationCase, AllocationCase::InStock);
    EXPECT_EQ(exact.availability, "Em Stock");
    EXPECT_EQ(a.stockLeft(), m(0));

    LineAllocation next = fresh(a, m(1));  // the next line meets a stock left of zero
    EXPECT_EQ(next.allocationCase, AllocationCase::OrdersCover);
    EXPECT_EQ(next.availability, "  1 Enc.For");
}

TEST(ArticleAllocation, StockPartAndOrdersForTheRestLeavesOrdersOver) {
    ArticleAllocation a(m(3), m(8), {}, '.');
    LineAllocation r = fresh(a, m(10));
    EXPECT_EQ(r.allocationCase, AllocationCase::StockAndSomeOrders);
    EXPECT_EQ(r.availability, "3  em Stock   7 Enc.For");
    EXPECT_EQ(r.estimate, "   ");
    EXPECT_EQ(a.supplierLeft(), m(1));
    EXPECT_EQ(a.stockLeft(), m(-7));
}

TEST(ArticleAllocation, StockPartAndOrdersUsedUpExactlyIsCase3) {
    ArticleAllocation a(m(3), m(7), {}, '.');
    LineAllocation r = fresh(a, m(10));  // Q - S = F
    EXPECT_EQ(r.allocationCase, AllocationCase::StockAndAllOrders);
    EXPECT_EQ(r.availability, "3  em Stock   7  Enc.For");
    EXPECT_EQ(r.estimate, "   ");
    EXPECT_EQ(a.supplierLeft(), m(-3));  // F - Q, not F - (Q - S)
    EXPECT_EQ(a.stockLeft(), m(-7));
}

TEST(ArticleAllocation, StockPartAndOrdersShortIsCase3) {
    ArticleAllocation a(m(3), m(5), {}, '.');
    LineAllocation r = fresh(a, m(10));
    EXPECT_EQ(r.allocationCase, AllocationCase::StockAndAllOrders);
    EXPECT_EQ(r.availability, "3  em Stock   5  Enc.For");
    EXPECT_EQ(a.supplierLeft(), m(-5));
}

TEST(ArticleAllocation, StockPartWithoutOrdersLeavesEstimateAlone) {
    for (Money supplier : {m(0), m(-2)}) {
        ArticleAllocation a(m(3), supplier, {{m(9), "unused"}}, '.');
        LineAllocation r = fresh(a, m(10));
        EXPECT_EQ(r.allocationCase, AllocationCase::StockOnly);
        EXPECT_EQ(r.availability, "3  em Stock ");
        EXPECT_EQ(r.estimate, " ");
        EXPECT_EQ(r.notes, "");
        EXPECT_EQ(a.supplierLeft(), supplier - m(10));
        EXPECT_EQ(a.supplierLines().at(0).quantity, m(9));  // the walk did not run
    }
}

TEST(ArticleAllocation, StockJustShortOfTheLineIsNotInStock) {
    ArticleAllocation a(Money::fromTicks(99999), m(0), {}, ',');
    LineAllocation r = fresh(a, m(10));
    EXPECT_EQ(r.allocationCase, AllocationCase::StockOnly);
    EXPECT_EQ(r.availability, "9,9999  em Stock ");
    EXPECT_EQ(a.stockLeft(), Money::fromTicks(-1));
}

TEST(ArticleAllocation, OrdersCoverTheWholeLineUpToAnExactMatch) {
    for (Money stock : {m(0), m(-4)}) {
        ArticleAllocation a(stock, m(10), {}, '.');
        LineAllocation r = fresh(a, m(10));  // Q = F
        EXPECT_EQ(r.allocationCase, AllocationCase::OrdersCover);
        EXPECT_EQ(r.availability, "  10 Enc.For");
        EXPECT_EQ(r.estimate, "   ");
        EXPECT_EQ(a.supplierLeft(), m(0));
        EXPECT_EQ(a.stockLeft(), stock - m(10));
    }
}

TEST(ArticleAllocation, OrdersShortOfTheLine) {
    ArticleAllocation a(m(0), m(4), {}, '.');
    LineAllocation r = fresh(a, m(10));
    EXPECT_EQ(r.allocationCase, AllocationCase::AllOrdersShort);
    EXPECT_EQ(r.availability, "  4  Enc.For");
    EXPECT_EQ(r.estimate, "   ");
    EXPECT_EQ(a.supplierLeft(), m(-6));

    LineAllocation after = fresh(a, m(1));  // F is now negative: nothing covers the next line
    EXPECT_EQ(after.allocationCase, AllocationCase::Uncovered);
}

TEST(ArticleAllocation, NothingCoversTheLine) {
    ArticleAllocation a(m(0), m(0), {{m(5), "A"}}, '.');
    LineAllocation r = a.allocate(m(10), "previous", " ");
    EXPECT_EQ(r.allocationCase, AllocationCase::Uncovered);
    EXPECT_EQ(r.availability, "");
    EXPECT_EQ(r.estimate, " ");
    EXPECT_EQ(a.supplierLeft(), m(-10));
    EXPECT_EQ(a.stockLeft(), m(-10));
    EXPECT_EQ(a.supplierLines().at(0).quantity, m(5));
}

// Cases 5 and 6 append to the line's current texts; cases 2 to 4 replace "Disponibilidade".
TEST(ArticleAllocation, CurrentTextsAreExtendedOrReplacedPerCase) {
    ArticleAllocation orders(m(0), m(20), {{m(20), "N"}}, '.');
    LineAllocation appended = orders.allocate(m(10), "X", "Y");
    EXPECT_EQ(appended.availability, "X  10 Enc.For");
    EXPECT_EQ(appended.estimate, "Y   N");

    ArticleAllocation stock(m(3), m(20), {}, '.');
    EXPECT_EQ(stock.allocate(m(10), "X", "Y").availability, "3  em Stock   7 Enc.For");
}

TEST(ArticleAllocation, QuantitiesUseTheGivenDecimalSeparator) {
    ArticleAllocation comma(m(0), m(5), {}, ',');
    EXPECT_EQ(fresh(comma, Money::fromTicks(25000)).availability, "  2,5 Enc.For");
    ArticleAllocation point(m(0), m(5), {}, '.');
    EXPECT_EQ(fresh(point, Money::fromTicks(25000)).availability, "  2.5 Enc.For");
    ArticleAllocation stock(Money::fromTicks(12500), Money::fromTicks(10000), {}, ',');
    EXPECT_EQ(fresh(stock, m(2)).availability, "1,25  em Stock   0,75 Enc.For");
}

TEST(ArticleAllocation, LaterLinesGetTheNotesOfTheSupplierLinesThatComeNext) {
    ArticleAllocation a(m(0), m(24), {{m(4), "A"}, {m(20), "B"}}, '.');
    LineAllocation first = fresh(a, m(5));
    EXPECT_EQ(first.notes, " A B");
    EXPECT_EQ(first.availability, "  5 Enc.For");
    EXPECT_EQ(first.estimate, "    A B");
    EXPECT_EQ(a.supplierLines()[0].quantity, m(0));
    EXPECT_EQ(a.supplierLines()[1].quantity, m(19));

    LineAllocation second = fresh(a, m(5));
    EXPECT_EQ(second.notes, " B");
    EXPECT_EQ(second.estimate, "    B");
    EXPECT_EQ(a.supplierLines()[1].quantity, m(14));
    EXPECT_EQ(a.supplierLeft(), m(14));
}

TEST(ArticleAllocation, NoteWalkStopsWhenALineIsUsedUpExactly) {
    ArticleAllocation a(m(0), m(10), {{m(5), "A"}, {m(5), "B"}}, '.');
    EXPECT_EQ(fresh(a, m(5)).notes, " A");
    EXPECT_EQ(a.supplierLines()[1].quantity, m(5));
    EXPECT_EQ(fresh(a, m(5)).notes, " B");
    EXPECT_EQ(a.supplierLines()[1].quantity, m(0));
}

TEST(ArticleAllocation, NoteWalkSkipsEmptyLinesAndRunsOutQuietly) {
    ArticleAllocation a(m(0), m(30), {{m(0), "Z"}, {m(-1), "N"}, {m(3), "A"}}, '.');
    LineAllocation r = fresh(a, m(10));
    EXPECT_EQ(r.notes, " A");
    EXPECT_EQ(a.supplierLines()[2].quantity, m(0));
    EXPECT_EQ(fresh(a, m(1)).notes, "");  // every line used up: F still says orders cover it
}

// The walk needs the line's whole quantity, even where stock covers part of it.
TEST(ArticleAllocation, NoteWalkUsesTheWholeQuantityWhenStockCoversPart) {
    ArticleAllocation a(m(3), m(17), {{m(7), "A"}, {m(10), "B"}}, '.');
    LineAllocation r = fresh(a, m(10));
    EXPECT_EQ(r.allocationCase, AllocationCase::StockAndSomeOrders);
    EXPECT_EQ(r.notes, " A B");
    EXPECT_EQ(a.supplierLines()[1].quantity, m(7));
}

TEST(ArticleAllocation, OpenTotalWithoutNoteRowsKeepsTheOrderTexts) {
    ArticleAllocation a(m(0), m(10), {}, '.');
    LineAllocation r = fresh(a, m(4));
    EXPECT_EQ(r.availability, "  4 Enc.For");
    EXPECT_EQ(r.estimate, "   ");
    EXPECT_EQ(r.notes, "");
}

}  // namespace
}  // namespace talvers
