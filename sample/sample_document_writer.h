#pragma once
// SampleDocumentWriter: writes ERP documents (DOCGCCAB headers and DOCGCLIN lines) and hands
// out their numbers, one counter per type, year and series, in the order headers are written.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "sample/sample_database.h"
#include "shell/dataaccess/date_time.h"
#include "shell/dataaccess/money.h"

namespace talvers {

// What the ERP's document type fixes: area, party type (1 supplier, 2 customer), stock
// effect, account nature and sign.
struct SampleDocumentKind {
    const char* type;
    int area;
    int partyType;
    int stockEffect;
    int accountNature;
    int sign;
};

inline constexpr SampleDocumentKind kCustomerOrder{"ECL", 2, 2, 0, 0, 0};
inline constexpr SampleDocumentKind kSupplierOrder{"EFO", 2, 1, 0, 0, 0};
inline constexpr SampleDocumentKind kSupplierDeliveryNote{"GRF", 4, 1, 1, 2, 1};
inline constexpr SampleDocumentKind kInvoice{"FAC", 4, 2, 2, 1, 1};
inline constexpr SampleDocumentKind kCashSale{"VD", 4, 2, 2, 1, 3};
inline constexpr SampleDocumentKind kCreditNote{"NCR", 4, 2, 1, 1, 2};

struct SampleDocumentKey {
    std::string type;
    std::int64_t year = 0;
    std::string series;
    std::int64_t number = 0;
};

struct SampleHeader {
    explicit SampleHeader(const SampleDocumentKind& documentKind) : kind(documentKind) {}

    SampleDocumentKind kind;
    std::string series = "A";
    DateTime date;
    std::optional<std::int64_t> party;
    std::optional<std::int64_t> salesperson;
    std::optional<std::string> notes;
    std::int64_t copies = 1;             // nvias; -1 marks a cancelled document
    std::optional<std::int64_t> number;  // the series' next number when absent
};

struct SampleLine {
    std::string article;
    std::string warehouse = "001";
    Money quantity;
    Money value;
    std::int64_t convert = 0;  // -1 marks a line already carried into another document
};

// The line's value: quantity times unit price, to the ten-thousandth.
Money sampleLineValue(Money quantity, Money price);

class SampleDocumentWriter {
  public:
    explicit SampleDocumentWriter(SampleDatabase& db);

    SampleDocumentKey header(const SampleHeader& header);
    // QtdOrig repeats the quantity, as the ERP stores it for documents not yet changed.
    void line(const SampleDocumentKey& key, std::int64_t lineNumber, const SampleLine& line);

  private:
    SampleInsert headers_;
    SampleInsert lines_;
    std::map<std::tuple<std::string, std::int64_t, std::string>, std::int64_t> lastNumbers_;
};

}  // namespace talvers
