#include "sample/sample_sales.h"

#include <algorithm>

namespace talvers {
namespace {

SampleDocumentKey saleHeader(const SampleCatalog& catalog, SampleRandom& random,
                             SampleDocumentWriter& documents, const SampleDocumentKind& kind,
                             const DateTime& date, std::int64_t copies = 1) {
    SampleHeader h{kind};
    h.date = date;
    h.copies = copies;
    const SampleCustomer& customer = random.pick(catalog.customers);
    h.party = customer.code;
    h.salesperson = customer.salesperson;
    return documents.header(h);
}

void saleLine(SampleDocumentWriter& documents, const SampleDocumentKey& key, std::int64_t number,
              const SampleArticle& article, std::int64_t quantity, const char* warehouse) {
    const Money q = Money::fromInteger(quantity);
    documents.line(key, number, {article.code, warehouse, q, sampleLineValue(q, article.price)});
}

}  // namespace

void writeSampleSales(const SampleCatalog& catalog, const DateTime& today, long lines,
                      SampleRandom& random, SampleDocumentWriter& documents) {
    const DateTime day = today.dateOnly();
    const DateTime firstDay{today.year - 1, 1, 1};
    long span = 0;
    while (firstDay.plusDays(span) < day) ++span;

    std::vector<DateTime> dates;
    for (long planned = 0; planned < lines; planned += 3) {
        DateTime date = firstDay.plusDays(random.between(0, span));
        if (random.percent(40)) {
            date.hour = static_cast<int>(random.between(8, 19));
            date.minute = static_cast<int>(random.below(60));
            date.second = static_cast<int>(random.below(60));
        }
        dates.push_back(date);
    }
    std::sort(dates.begin(), dates.end());
    for (const DateTime& date : dates) {
        const auto kind = random.below(100);
        const std::int64_t copies = random.percent(1) ? -1 : 1;
        const SampleDocumentKey key = saleHeader(catalog, random, documents,
                                                 kind < 80   ? kInvoice
                                                 : kind < 92 ? kCashSale
                                                             : kCreditNote,
                                                 date, copies);
        const auto count = random.between(1, 5);
        for (std::int64_t n = 1; n <= count; ++n) {
            const auto roll = random.below(100);
            const char* warehouse = kSampleWarehouses[roll < 55   ? 0
                                                      : roll < 75 ? 1
                                                      : roll < 85 ? 2
                                                                  : 3];
            saleLine(documents, key, n, catalog.articles[pickSampleArticle(catalog, random)],
                     random.between(1, 20), warehouse);
        }
    }

    // The first moment of the year and late today: both inside the default provisioning range.
    const SampleArticle& plain = catalog.articles[catalog.ordinary.front()];
    auto key = saleHeader(catalog, random, documents, kInvoice, DateTime{today.year, 1, 1});
    saleLine(documents, key, 1, plain, 1, "001");
    DateTime evening = day;
    evening.hour = 18;
    evening.minute = 45;
    key = saleHeader(catalog, random, documents, kInvoice, evening);
    saleLine(documents, key, 1, plain, 2, "002");
    // Credit note that cancels the balanced article's stock out (see the catalog).
    DateTime morning = day;
    morning.hour = 10;
    morning.minute = 15;
    key = saleHeader(catalog, random, documents, kCreditNote, morning);
    saleLine(documents, key, 1, catalog.articles[catalog.special.balanced], 4, "002");
    // More returned than sold this year.
    const SampleArticle& returned = catalog.articles[catalog.special.returned];
    key = saleHeader(catalog, random, documents, kInvoice, morning);
    saleLine(documents, key, 1, returned, 2, "001");
    key = saleHeader(catalog, random, documents, kCreditNote, morning);
    saleLine(documents, key, 1, returned, 6, "002");
}

}  // namespace talvers
