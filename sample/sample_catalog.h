#pragma once
// The sample company's master data, built in memory before any document: articles with
// their stock rows, suppliers, salespeople, customers and the Lisbon company's customers.
// The document writers add the open order quantities to the articles; the catalog is written
// last, so Artigos and ArtArm agree with the open orders in DOCGCLIN.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sample/sample_database.h"
#include "sample/sample_random.h"
#include "shell/dataaccess/money.h"

namespace talvers {

inline constexpr std::array<const char*, 4> kSampleWarehouses = {"001", "002", "003", "004"};
// Codes that orders name but that have no row in Clientes or Vendedor.
inline constexpr std::int64_t kMissingCustomer = 99999;
inline constexpr std::int64_t kMissingSalesperson = 99;

struct SampleArticle {
    std::string code;
    std::string name;
    std::string abbreviation;
    std::string group;
    std::string family;
    std::optional<std::string> supplier;
    bool active = true;
    std::optional<std::int64_t> restockDays;
    Money price;
    bool bought = true;    // has purchase records
    bool ordinary = true;  // random document lines may name it
    // Per warehouse of kSampleWarehouses: whether ArtArm has a row, and its stock (may be NULL).
    // When stockFollowsDemand, the stock is drawn once the open orders are known, so that
    // some articles cover their orders and others do not.
    bool stockFollowsDemand = false;
    std::array<bool, 4> hasStockRow{};
    std::array<std::optional<Money>, 4> stock{};
    // Open customer and supplier order quantities per warehouse, summed by the document writers.
    std::array<Money, 4> customerOrders{};
    std::array<Money, 4> supplierOrders{};
};

struct SampleSupplier {
    std::string code;
    std::string name;
};

struct SampleCustomer {
    std::int64_t code = 0;
    std::string name;
    std::int64_t salesperson = 0;
};

// Articles that the document writers treat on purpose (see the catalog's builder).
struct SampleSpecialArticles {
    std::size_t quoted = 0;
    std::size_t untouched = 0;
    std::size_t balanced = 0;
    std::size_t nullStock = 0;
    std::size_t returned = 0;
    std::vector<std::size_t> serial;
};

struct SampleCatalog {
    std::vector<SampleArticle> articles;
    std::vector<std::size_t> ordinary;  // articles random lines may name; the first fifth sell most
    std::vector<SampleSupplier> suppliers;
    std::vector<SampleCustomer> customers;
    std::vector<SampleCustomer> lisbonCustomers;
    SampleSpecialArticles special;
};

// Articles about lines/10 (at least 50), customers lines/20 (at least 20), 30 suppliers.
SampleCatalog buildSampleCatalog(SampleRandom& random, long lines);
// An ordinary article, the popular ones half of the time.
std::size_t pickSampleArticle(const SampleCatalog& catalog, SampleRandom& random);
// Writes everything but the documents: Vendedor, Clientes, Fornec, Armazens, Grupos,
// Familia, Artigos, ArtArm and AJUDACMP into the main database, Clientes into the external.
void writeSampleCatalog(const SampleCatalog& catalog, const DateTime& today, SampleRandom& random,
                        SampleDatabase& main, SampleDatabase& external);

}  // namespace talvers
