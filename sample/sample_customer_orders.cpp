#include "sample/sample_customer_orders.h"

#include <algorithm>
#include <limits>

#include "sample/sample_names.h"

namespace talvers {
namespace {

constexpr std::size_t kNoArticle = std::numeric_limits<std::size_t>::max();

struct PlannedLine {
    SampleLine line;
    std::size_t article = kNoArticle;
    std::size_t warehouse = 0;
};

struct OrderPlan {
    SampleHeader header{kCustomerOrder};
    std::vector<PlannedLine> lines;
    bool exported = true;      // qor_documentosexportados names it
    bool lisbonHeader = true;  // the Lisbon order it names exists in the external DocGcCab
    bool marked = false;       // has a CLDOCGC row
    std::optional<std::string> mark;
};

PlannedLine articleLine(const SampleCatalog& catalog, std::size_t article, Money quantity,
                        std::size_t warehouse = 0) {
    const SampleArticle& a = catalog.articles[article];
    return {{a.code, kSampleWarehouses[warehouse], quantity, sampleLineValue(quantity, a.price)},
            article,
            warehouse};
}

PlannedLine randomLine(const SampleCatalog& catalog, SampleRandom& random) {
    const std::size_t article = pickSampleArticle(catalog, random);
    const auto roll = random.below(100);
    const std::size_t warehouse = roll < 80 ? 0 : roll < 92 ? 1 : 3;
    Money quantity = Money::fromInteger(random.between(1, 24));
    if (random.percent(4)) quantity += Money::fromTicks(Money::kScale / 2);
    const auto odd = random.below(1000);
    if (odd < 10)
        quantity = Money();  // quantity 0
    else if (odd < 15)
        quantity = Money::fromInteger(-random.between(1, 5));  // negative
    PlannedLine line = articleLine(catalog, article, quantity, warehouse);
    if (odd >= 15 && odd < 25) {  // a text line without an article
        line.line.article.clear();
        line.line.value = Money();
        line.article = kNoArticle;
    }
    if (random.percent(3)) line.line.convert = -1;
    return line;
}

OrderPlan randomOrder(const SampleCatalog& catalog, const DateTime& today, long lineCount,
                      SampleRandom& random) {
    OrderPlan order;
    SampleHeader& h = order.header;
    h.date = today.dateOnly().plusDays(-random.between(0, 547));
    if (random.percent(30)) {
        h.date.hour = static_cast<int>(random.between(8, 19));
        h.date.minute = static_cast<int>(random.below(60));
    }
    const auto series = random.below(100);
    h.series = series < 2 ? "0" : series < 12 ? "B" : "A";
    const SampleCustomer& customer = random.pick(catalog.customers);
    h.party = customer.code;
    h.salesperson = customer.salesperson;
    const auto notes = random.below(100);
    if (notes < 40)
        h.notes = random.pick(sampleOrderNotes());
    else if (notes < 60)
        h.notes = "";
    if (random.percent(1)) h.copies = -1;
    for (long i = 0; i < lineCount; ++i) order.lines.push_back(randomLine(catalog, random));
    order.exported = random.percent(85);
    order.lisbonHeader = !random.percent(2);
    const auto mark = random.below(100);
    order.marked = mark < 38;
    if (mark < 35) order.mark = random.pick(sampleSeparationMarks());  // else CL05 is NULL
    return order;
}

// Orders the reports' edge cases need, each made once whatever the seed and size.
std::vector<OrderPlan> fixedOrders(const SampleCatalog& catalog, const DateTime& today,
                                   SampleRandom& random) {
    std::vector<OrderPlan> orders;
    const DateTime day = today.dateOnly();
    const auto order = [&](long daysAgo, int lines) -> OrderPlan& {
        OrderPlan& o = orders.emplace_back();
        o.header.date = day.plusDays(-daysAgo);
        const SampleCustomer& customer =
            catalog.customers[orders.size() % catalog.customers.size()];
        o.header.party = customer.code;
        o.header.salesperson = customer.salesperson;
        for (int i = 0; i < lines; ++i) {
            o.lines.push_back(articleLine(catalog, pickSampleArticle(catalog, random),
                                          Money::fromInteger(random.between(1, 10))));
        }
        return o;
    };
    // A key longer than the 20 characters the reports keep: a shop series and a big number.
    OrderPlan& longKey = order(10, 2);
    longKey.header.series = "LOJA" + std::to_string(today.year) + "X";
    longKey.header.number = std::int64_t{today.year} * 1000000 + 123;
    // Series "0" holds internal orders, never listed as pending.
    order(20, 2).header.series = "0";
    // A cancelled order (nvias -1).
    order(15, 2).header.copies = -1;
    // The customer is missing from Clientes.
    order(25, 2).header.party = kMissingCustomer;
    // The salesperson is missing from Vendedor, or not set at all.
    order(30, 2).header.salesperson = kMissingSalesperson;
    order(31, 1).header.salesperson.reset();
    // Dated on the default start date (one year ago), and on the day before it.
    order(0, 2).header.date = day.oneYearEarlier();
    DateTime dayBefore = day.oneYearEarlier().plusDays(-1);
    dayBefore.hour = 16;
    dayBefore.minute = 20;
    order(0, 2).header.date = dayBefore;
    // Notes longer than the 100 characters a report keeps.
    order(3, 1).header.notes =
        "Entregar na oficina nova, Rua da Conceição 14, Ponta Delgada, São Miguel, Açores. "
        "Ligar antes ao Sr. João Gonçalves para combinar a hora de descarga.";
    // Not exported from the Lisbon company.
    order(4, 2).exported = false;
    // Exported, but the Lisbon order it names is not in the external DocGcCab.
    order(6, 1).lisbonHeader = false;
    // One order with every odd line kind, at a time of day other than midnight.
    OrderPlan& odd = order(5, 1);
    odd.header.date.hour = 14;
    odd.header.date.minute = 35;
    odd.header.date.second = 10;
    odd.marked = true;
    odd.mark = "Separado";
    const std::size_t plain = catalog.ordinary.front();
    odd.lines.push_back(articleLine(catalog, plain, Money()));                 // quantity 0
    odd.lines.push_back(articleLine(catalog, plain, Money::fromInteger(-2)));  // negative
    odd.lines.push_back({{"", "001", Money::fromInteger(1), Money()}});        // no article
    odd.lines.push_back(articleLine(catalog, plain, Money::fromInteger(3)));
    odd.lines.back().line.convert = -1;  // converted
    const auto inactive = std::find_if(catalog.ordinary.begin(), catalog.ordinary.end(),
                                       [&](std::size_t i) { return !catalog.articles[i].active; });
    odd.lines.push_back(articleLine(catalog, *inactive, Money::fromInteger(2)));  // inactive
    odd.lines.push_back(articleLine(catalog, catalog.special.quoted, Money::fromInteger(3)));
    odd.lines.push_back(articleLine(catalog, plain, Money::fromTicks(25000)));  // 2.5
    return orders;
}

bool isOpen(const OrderPlan& order, const PlannedLine& line) {
    return order.header.copies != -1 && line.line.convert != -1 && line.article != kNoArticle &&
           line.line.quantity > Money();
}

}  // namespace

void writeSampleCustomerOrders(SampleCatalog& catalog, const DateTime& today, long lines,
                               SampleRandom& random, SampleDocumentWriter& documents,
                               SampleDatabase& main, SampleDatabase& external) {
    std::vector<OrderPlan> orders = fixedOrders(catalog, today, random);
    long planned = 0;
    for (const OrderPlan& o : orders) planned += static_cast<long>(o.lines.size());
    while (planned < lines) {
        const long count = std::min<long>(lines - planned, random.between(1, 8));
        orders.push_back(randomOrder(catalog, today, count, random));
        planned += count;
    }
    // Numbers follow the dates, as they do in the ERP.
    std::stable_sort(orders.begin(), orders.end(), [](const OrderPlan& a, const OrderPlan& b) {
        return a.header.date < b.header.date;
    });

    auto marks =
        main.insert("INSERT INTO CLDOCGC (TIPODOC, Ano, SERIE, NDOC, CL05) VALUES (?,?,?,?,?)");
    auto exports = external.insert(
        "INSERT INTO qor_documentosexportados (OrigTpDoc, OrigAno, OrigSerie, OrigNumero,"
        " EncTpDoc, EncAno, EncSerie, EncNumero) VALUES (?,?,?,?,?,?,?,?)");
    auto lisbonOrders = external.insert(
        "INSERT INTO DocGcCab (TpDoc, Ano, Serie, NNumDoc, Terceiro) VALUES (?,?,?,?,?)");
    std::int64_t lisbonNumber = 40000;
    for (const OrderPlan& order : orders) {
        const SampleDocumentKey key = documents.header(order.header);
        std::int64_t number = 0;
        for (const PlannedLine& line : order.lines) {
            documents.line(key, ++number, line.line);
            if (isOpen(order, line)) {
                catalog.articles[line.article].customerOrders[line.warehouse] += line.line.quantity;
            }
        }
        if (order.marked)
            marks.row({key.type, key.year, key.series, key.number, nullable(order.mark)});
        if (order.exported) {
            ++lisbonNumber;
            exports.row(
                {"ECL", key.year, "LX", lisbonNumber, key.type, key.year, key.series, key.number});
            if (order.lisbonHeader) {
                lisbonOrders.row({"ECL", key.year, "LX", lisbonNumber,
                                  random.pick(catalog.lisbonCustomers).code});
                // Every 40th such order was made from two Lisbon orders; the one recorded
                // second comes first by type, year, series and number, and has another
                // customer, so the tie rule shows.
                if (lisbonNumber % 40 == 0) {
                    exports.row({"ECL", key.year, "LA", lisbonNumber, key.type, key.year,
                                 key.series, key.number});
                    const auto& customers = catalog.lisbonCustomers;
                    lisbonOrders.row(
                        {"ECL", key.year, "LA", lisbonNumber,
                         customers[static_cast<std::size_t>(lisbonNumber) % customers.size()]
                             .code});
                }
            }
        }
    }
}

}  // namespace talvers
