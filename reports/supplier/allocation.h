#pragma once
// ArticleAllocation: how one article's stock and open supplier orders are promised to its
// customer lines, taken one by one in date order. It holds the article's running quantities —
// stock left (S), supplier quantity left (F) and the supplier lines with their unpromised
// quantities — and decides each customer line into one of seven cases, writing the
// "Disponibilidade" and "Prazo Estimado" texts of that line.
//
// S and F only decrease and may go negative; every decision compares them with zero. F and the
// supplier lines are tracked apart: F follows the case table, the lines follow the note walk
// (a supplier line without a note row is in F but not in the lines), so they may disagree.
#include <string>
#include <string_view>
#include <vector>

#include "shell/dataaccess/money.h"

namespace talvers {

// One open supplier order line of the article: quantity not yet promised, and its note.
struct SupplierLine {
    Money quantity;
    std::string note;
};

enum class AllocationCase {
    InStock = 1,             // Q <= S
    StockAndSomeOrders = 2,  // 0 < S < Q, F > 0, Q - S < F
    StockAndAllOrders = 3,   // 0 < S < Q, F > 0, Q - S >= F
    StockOnly = 4,           // 0 < S < Q, F <= 0
    OrdersCover = 5,         // S <= 0, F > 0, Q <= F
    AllOrdersShort = 6,      // S <= 0, F > 0, Q > F
    Uncovered = 7,           // S <= 0, F <= 0
};

struct LineAllocation {
    AllocationCase allocationCase;
    std::string availability;  // the line's new "Disponibilidade"
    std::string estimate;      // the line's new "Prazo Estimado"
    std::string notes;         // notes collected for the line ("" when the walk did not run)
};

class ArticleAllocation {
  public:
    // Quantities inside the texts are written in plain number form with `decimalSeparator`.
    ArticleAllocation(Money stock, Money supplierTotal, std::vector<SupplierLine> supplierLines,
                      char decimalSeparator);

    // Decides the next customer line of quantity `quantity`, whose current texts are
    // `availability` and `estimate`, and moves the running quantities on.
    LineAllocation allocate(Money quantity, std::string_view availability,
                            std::string_view estimate);

    Money stockLeft() const { return stock_; }
    Money supplierLeft() const { return supplier_; }
    const std::vector<SupplierLine>& supplierLines() const { return lines_; }

  private:
    std::string collectNotes(Money quantity);
    std::string number(Money value) const { return value.plainText(decimalSeparator_); }

    Money stock_;
    Money supplier_;
    std::vector<SupplierLine> lines_;
    char decimalSeparator_;
};

}  // namespace talvers
