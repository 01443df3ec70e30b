#include "sample/sample_supplier_documents.h"

#include <algorithm>

#include "sample/sample_names.h"

namespace talvers {
namespace {

// Days before today, oldest first, so that numbers follow dates.
std::vector<long> sortedAges(SampleRandom& random, long count, long maxDays) {
    std::vector<long> ages;
    for (long i = 0; i < count; ++i) ages.push_back(static_cast<long>(random.between(0, maxDays)));
    std::sort(ages.begin(), ages.end(), std::greater<>());
    return ages;
}

std::int64_t supplierParty(const SampleCatalog& catalog, SampleRandom& random) {
    return std::stoll(random.pick(catalog.suppliers).code);
}

class SupplierOrderWriter {
  public:
    SupplierOrderWriter(SampleCatalog& catalog, SampleRandom& random,
                        SampleDocumentWriter& documents, SampleDatabase& main)
        : catalog_(catalog),
          random_(random),
          documents_(documents),
          notes_(main.insert("INSERT INTO U_DOCGCLIN (Tpdocum, Ano, Serie, NNumDoc, NumLinha, Obs)"
                             " VALUES (?,?,?,?,?,?)")),
          lineNotes_(main.insert("INSERT INTO U_DocGCLin0 (TpDocum, Ano, Serie, NNumDoc, NumLinha,"
                                 " OBS) VALUES (?,?,?,?,?,?)")) {}

    SampleDocumentKey header(const DateTime& date, std::int64_t copies) {
        SampleHeader h{kSupplierOrder};
        h.date = date;
        h.party = supplierParty(catalog_, random_);
        h.copies = copies;
        copies_ = copies;
        date_ = date;
        return documents_.header(h);
    }

    // `note` false leaves the line without a U_DOCGCLIN row.
    void line(const SampleDocumentKey& key, std::int64_t number, std::size_t article,
              Money quantity, std::int64_t convert, bool note) {
        SampleArticle& a = catalog_.articles[article];
        const auto roll = random_.below(100);
        const std::size_t warehouse = roll < 85 ? 0 : roll < 95 ? 1 : 3;
        documents_.line(key, number,
                        {a.code, kSampleWarehouses[warehouse], quantity,
                         sampleLineValue(quantity, a.price), convert});
        if (copies_ != -1 && convert != -1 && quantity > Money()) {
            a.supplierOrders[warehouse] += quantity;
        }
        if (note) {
            const DateTime expected = date_.plusDays(random_.between(7, 60));
            const std::string text = sampleSupplierNote(random_, expected.dmyDate());
            notes_.row({key.type, key.year, key.series, key.number, number, text});
            // Notes typed into the line's second note field come padded with blanks.
            if (random_.percent(30)) {
                lineNotes_.row(
                    {key.type, key.year, key.series, key.number, number, "  " + text + "  "});
            }
        }
    }

  private:
    SampleCatalog& catalog_;
    SampleRandom& random_;
    SampleDocumentWriter& documents_;
    SampleInsert notes_;
    SampleInsert lineNotes_;
    std::int64_t copies_ = 1;
    DateTime date_;
};

void writeSupplierOrders(SampleCatalog& catalog, const DateTime& today, long lineCount,
                         SampleRandom& random, SampleDocumentWriter& documents,
                         SampleDatabase& main) {
    SupplierOrderWriter writer(catalog, random, documents, main);
    const DateTime day = today.dateOnly();
    // A few orders fall more than a year back, before the reports' default start date.
    for (long age : sortedAges(random, std::max(1L, lineCount / 3), 400)) {
        const SampleDocumentKey key = writer.header(day.plusDays(-age), random.percent(1) ? -1 : 1);
        const auto count = random.between(1, 5);
        for (std::int64_t n = 1; n <= count; ++n) {
            const auto odd = random.below(100);
            const Money quantity = odd == 0 ? Money() : Money::fromInteger(random.between(5, 60));
            writer.line(key, n, pickSampleArticle(catalog, random), quantity,
                        odd == 1 || odd == 2 ? -1 : 0, random.percent(85));
        }
    }
    // The quoted article on order, with a note; a line without any note; a cancelled order.
    SampleDocumentKey key = writer.header(day.plusDays(-12), 1);
    writer.line(key, 1, catalog.special.quoted, Money::fromInteger(20), 0, true);
    writer.line(key, 2, catalog.ordinary.front(), Money::fromInteger(15), 0, false);
    key = writer.header(day.plusDays(-40), -1);
    writer.line(key, 1, catalog.ordinary.front(), Money::fromInteger(30), 0, true);
}

void writeDeliveryNotes(const SampleCatalog& catalog, const DateTime& today, long lineCount,
                        SampleRandom& random, SampleDocumentWriter& documents) {
    const DateTime day = today.dateOnly();
    for (long age : sortedAges(random, std::max(10L, lineCount / 3), 365)) {
        SampleHeader h{kSupplierDeliveryNote};
        h.date = day.plusDays(-age);
        h.party = supplierParty(catalog, random);
        if (random.percent(2)) h.copies = -1;
        const SampleDocumentKey key = documents.header(h);
        const auto count = random.between(1, 5);
        for (std::int64_t n = 1; n <= count; ++n) {
            const SampleArticle& a = catalog.articles[pickSampleArticle(catalog, random)];
            const Money quantity = Money::fromInteger(random.between(1, 40));
            documents.line(key, n, {a.code, "001", quantity, sampleLineValue(quantity, a.price)});
        }
    }
}

}  // namespace

void writeSampleSupplierDocuments(SampleCatalog& catalog, const DateTime& today, long lines,
                                  SampleRandom& random, SampleDocumentWriter& documents,
                                  SampleDatabase& main) {
    writeSupplierOrders(catalog, today, std::max(60L, lines / 3), random, documents, main);
    writeDeliveryNotes(catalog, today, std::max(30L, lines / 5), random, documents);
}

}  // namespace talvers
