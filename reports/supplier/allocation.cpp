#include "reports/supplier/allocation.h"

namespace talvers {
namespace {

constexpr std::string_view kInStock = "Em Stock";
constexpr std::string_view kStockPart = "  em Stock ";
constexpr std::string_view kGap = "  ";
// The one-blank form marks orders that cover the rest, the two-blank form orders that fall short
// or are used up exactly.
constexpr std::string_view kOrdersCover = " Enc.For";
constexpr std::string_view kOrdersUsedUp = "  Enc.For";

const Money kZero;

}  // namespace

ArticleAllocation::ArticleAllocation(Money stock, Money supplierTotal,
                                     std::vector<SupplierLine> supplierLines, char decimalSeparator)
    : stock_(stock),
      supplier_(supplierTotal),
      lines_(std::move(supplierLines)),
      decimalSeparator_(decimalSeparator) {}

LineAllocation ArticleAllocation::allocate(Money quantity, std::string_view availability,
                                           std::string_view estimate) {
    const Money q = quantity;
    const Money s = stock_;
    const Money f = supplier_;
    LineAllocation result{
        AllocationCase::InStock, std::string(availability), std::string(estimate), {}};
    const auto withNotes = [&] {
        result.notes = collectNotes(q);
        result.estimate += kGap;
        result.estimate += result.notes;
    };

    if (q <= s) {
        result.availability = kInStock;
    } else if (s > kZero) {
        const std::string stockPart = number(s) + std::string(kStockPart);
        if (f > kZero && q - s < f) {
            result.allocationCase = AllocationCase::StockAndSomeOrders;
            result.availability =
                stockPart + std::string(kGap) + number(q - s) + std::string(kOrdersCover);
            withNotes();
            supplier_ = f - (q - s);
        } else if (f > kZero) {
            result.allocationCase = AllocationCase::StockAndAllOrders;
            result.availability =
                stockPart + std::string(kGap) + number(f) + std::string(kOrdersUsedUp);
            withNotes();
            supplier_ = f - q;
        } else {
            result.allocationCase = AllocationCase::StockOnly;
            result.availability = stockPart;
            supplier_ = f - q;
        }
    } else if (f > kZero) {
        const bool covered = q <= f;
        result.allocationCase =
            covered ? AllocationCase::OrdersCover : AllocationCase::AllOrdersShort;
        result.availability += kGap;
        result.availability += covered ? number(q) + std::string(kOrdersCover)
                                       : number(f) + std::string(kOrdersUsedUp);
        withNotes();
        supplier_ = f - q;
    } else {
        result.allocationCase = AllocationCase::Uncovered;
        result.availability.clear();
        supplier_ = f - q;
    }
    stock_ = s - q;
    return result;
}

// Walks the supplier lines from the first still holding quantity, promising them to the
// customer line's whole quantity; lines used up stay used up for the article's later lines.
std::string ArticleAllocation::collectNotes(Money quantity) {
    std::string notes;
    Money needed = quantity;
    for (SupplierLine& line : lines_) {
        if (needed <= kZero) break;
        if (line.quantity <= kZero) continue;
        notes += ' ';
        notes += line.note;
        if (line.quantity > needed) {
            line.quantity = line.quantity - needed;
            needed = kZero;
        } else {
            needed = needed - line.quantity;
            line.quantity = kZero;
        }
    }
    return notes;
}

}  // namespace talvers
