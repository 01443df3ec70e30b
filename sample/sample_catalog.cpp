#include "sample/sample_catalog.h"

#include <algorithm>
#include <cstdio>

#include "sample/sample_names.h"
#include "shell/dataaccess/text_utils.h"

namespace talvers {
namespace {

constexpr std::size_t kSupplierCount = 30;

Money units(std::int64_t n) {
    return Money::fromInteger(n);
}

SampleArticle fixedArticle(const char* code, const char* name, const char* group,
                           const char* family, std::size_t supplier, std::int64_t priceCents) {
    SampleArticle article;
    article.code = code;
    article.name = name;
    article.abbreviation = trimBlanks(leftChars(name, 20));
    article.group = group;
    article.family = family;
    article.supplier = std::to_string(2001 + supplier);
    article.restockDays = 7;
    article.price = Money::fromTicks(priceCents * 100);
    article.ordinary = false;
    return article;
}

void setStock(SampleArticle& article, std::size_t warehouse, std::optional<Money> stock) {
    article.hasStockRow[warehouse] = true;
    article.stock[warehouse] = stock;
}

// The articles whose numbers the tests and the reports' edge cases rely on.
void addSpecialArticles(SampleCatalog& catalog) {
    auto& articles = catalog.articles;
    auto& special = catalog.special;

    // A code holding a single quote: every query that splices an article code meets it. It
    // is otherwise an ordinary article with stock, orders and purchases.
    special.quoted = articles.size();
    SampleArticle quoted = fixedArticle("AB'12", "Abraçadeira Inox 12mm", "ACE", "GER", 9, 85);
    quoted.ordinary = true;
    setStock(quoted, 0, units(40));
    setStock(quoted, 1, units(12));
    setStock(quoted, 3, units(5));
    articles.push_back(quoted);

    // Active, never bought, no stock rows and no documents: its four provisioning values are
    // all 0, so the provisioning report leaves it out.
    special.untouched = articles.size();
    SampleArticle untouched =
        fixedArticle("ACE90001", "Porta-Chaves Promocional", "ACE", "GER", 9, 150);
    untouched.bought = false;
    articles.push_back(untouched);

    // Stock 4 in "002" and a credit note of 4 this year in "002", nothing on order: sales -4
    // and stock 4 add up to 0 in both variants although not all four values are 0.
    special.balanced = articles.size();
    SampleArticle balanced =
        fixedArticle("ACE90002", "Colete Refletor Laranja", "ACE", "SEG", 24, 450);
    setStock(balanced, 1, units(4));
    setStock(balanced, 3, units(0));
    articles.push_back(balanced);

    // Stock rows in "002" and "004" whose quantity is NULL: the alternate variant's stock sum
    // is NULL and the article is left out there; "001" has stock for the other reports.
    special.nullStock = articles.size();
    SampleArticle nullStock =
        fixedArticle("FIL90003", "Filtro de Ar Desportivo Ref. FA-900", "FIL", "ARF", 13, 2350);
    nullStock.restockDays.reset();
    setStock(nullStock, 0, units(12));
    setStock(nullStock, 1, std::nullopt);
    setStock(nullStock, 3, std::nullopt);
    articles.push_back(nullStock);

    // More returned than sold this year: negative sales, listed since its stock is not 0.
    special.returned = articles.size();
    SampleArticle returned =
        fixedArticle("TRV90004", "Discos de Travão Perfurados 330mm", "TRV", "DIS", 15, 8990);
    setStock(returned, 0, units(10));
    setStock(returned, 1, units(2));
    articles.push_back(returned);

    // Serial-numbered batteries: their documents and serial-number movements are written by
    // the serial scenario. The third has no stock above 0 anywhere.
    const char* serialNames[] = {"Bateria 12V 70Ah 640A Série Ouro",
                                 "Bateria 12V 80Ah 720A Série Ouro",
                                 "Bateria 12V 100Ah 850A Série Ouro"};
    const std::int64_t serialStock[][2] = {{3, 1}, {2, 0}, {0, 0}};
    for (int i = 0; i < 3; ++i) {
        special.serial.push_back(articles.size());
        SampleArticle battery = fixedArticle(("BAT9000" + std::to_string(i + 1)).c_str(),
                                             serialNames[i], "BAT", "AUT", 8, 12900 + 1000 * i);
        setStock(battery, 0, units(serialStock[i][0]));
        setStock(battery, 1, units(serialStock[i][1]));
        articles.push_back(battery);
    }
}

SampleArticle regularArticle(SampleRandom& random, std::size_t i) {
    const auto& groups = sampleGroups();
    const SampleGroupName& group = groups[i % groups.size()];
    const SampleProductLine& line = random.pick(group.lines);
    SampleArticle article;
    char number[24];
    std::snprintf(number, sizeof number, "%04zu", i);
    article.code = std::string(group.code) + number;
    article.name = std::string(line.base) + " " + random.pick(line.versions) + " " +
                   random.pick(sampleBrands());
    article.abbreviation = trimBlanks(leftChars(line.base, 20));
    article.group = group.code;
    article.family = line.family;
    article.price = Money::fromTicks(random.between(150, 25000) * 100);
    // Fixed residues instead of chance, so that even the smallest sample holds each kind.
    article.active = i % 17 != 5;                                  // inactive, yet ordered
    article.bought = i % 11 != 3;                                  // no purchase records
    if (i % 13 != 4) article.restockDays = random.between(1, 30);  // else DiasSkRs NULL
    if (i % 23 != 9) article.supplier = std::to_string(2001 + i % kSupplierCount);
    article.stockFollowsDemand = true;
    if (i % 19 != 7) {  // else no stock rows at all
        setStock(article, 0, Money());
        if (i % 7 != 2) {  // else a row for "001" only
            setStock(article, 1, Money());
            setStock(article, 3, Money());
        }
    }
    return article;
}

std::vector<SampleCustomer> customers(SampleRandom& random, long count, std::int64_t firstCode,
                                      const std::vector<const char*>& towns) {
    std::vector<SampleCustomer> result;
    for (long i = 0; i < count; ++i) {
        const auto salesperson = static_cast<std::int64_t>(1 + i % sampleSalespeople().size());
        result.push_back({firstCode + i, sampleCustomerName(random, towns), salesperson});
    }
    return result;
}

}  // namespace

SampleCatalog buildSampleCatalog(SampleRandom& random, long lines) {
    SampleCatalog catalog;
    addSpecialArticles(catalog);
    const std::size_t articleCount =
        std::max<std::size_t>(50, static_cast<std::size_t>(lines / 10));
    for (std::size_t i = 0; catalog.articles.size() < articleCount; ++i) {
        catalog.articles.push_back(regularArticle(random, i));
    }
    for (std::size_t i = 0; i < catalog.articles.size(); ++i) {
        if (catalog.articles[i].ordinary) catalog.ordinary.push_back(i);
    }
    for (std::size_t i = 0; i < kSupplierCount; ++i) {
        catalog.suppliers.push_back({std::to_string(2001 + i), sampleSupplierNames()[i]});
    }
    catalog.customers = customers(random, std::max(20L, lines / 20), 1001, sampleTowns());
    // A customer name longer than the 80 characters a report keeps, with accents at the cut.
    catalog.customers[3].name =
        "Sociedade de Reparações e Comércio de Automóveis e Máquinas Agrícolas do Alentejo, Lda.";
    catalog.lisbonCustomers = customers(random, std::max(20L, lines / 40), 1, sampleLisbonTowns());
    return catalog;
}

std::size_t pickSampleArticle(const SampleCatalog& catalog, SampleRandom& random) {
    const std::size_t popular = std::max<std::size_t>(1, catalog.ordinary.size() / 5);
    const std::size_t n = random.percent(50) ? popular : catalog.ordinary.size();
    return catalog.ordinary[random.below(n)];
}

namespace {

// Between none and half as much again as the open customer orders, plus a few; sometimes
// nothing at all, or slightly below zero as stock counts in an ERP can be.
Money stockFor(Money demand, SampleRandom& random) {
    const auto roll = random.below(100);
    if (roll < 12) return Money();
    if (roll < 14) return Money::fromInteger(-random.between(1, 2));
    const std::int64_t units = demand.ticks() / Money::kScale;
    return Money::fromInteger(units * random.between(0, 150) / 100 + random.between(0, 30));
}

void writeArticles(const SampleCatalog& catalog, SampleRandom& random, SampleDatabase& main) {
    auto articles = main.insert(
        "INSERT INTO Artigos (Codigo, Nome, Abrev, ArtouDes, DiasSkRs, Grupo, familia, Fornec,"
        " TotEncCl, TotEncFo, Stdisp) VALUES (?,?,?,?,?,?,?,?,?,?,?)");
    auto stock = main.insert(
        "INSERT INTO ArtArm (Artigo, Armazem, Existenc, ArmEncCl, ArmEncFo) VALUES (?,?,?,?,?)");
    for (SampleArticle a : catalog.articles) {
        Money customerTotal, supplierTotal, stockTotal;
        for (std::size_t w = 0; w < kSampleWarehouses.size(); ++w) {
            customerTotal += a.customerOrders[w];
            supplierTotal += a.supplierOrders[w];
            if (a.hasStockRow[w]) {
                if (a.stockFollowsDemand) a.stock[w] = stockFor(a.customerOrders[w], random);
                if (a.stock[w]) stockTotal += *a.stock[w];
                stock.row({a.code, kSampleWarehouses[w], nullable(a.stock[w]), a.customerOrders[w],
                           a.supplierOrders[w]});
            }
        }
        articles.row({a.code, a.name, a.abbreviation, std::int64_t{a.active ? 0 : 1},
                      nullable(a.restockDays), a.group, a.family, nullable(a.supplier),
                      customerTotal, supplierTotal, stockTotal - customerTotal});
    }
}

// Purchase records: the article's own supplier bought most recently, older purchases from
// others. Articles marked as never bought get none.
void writePurchases(const SampleCatalog& catalog, const DateTime& today, SampleRandom& random,
                    SampleDatabase& main) {
    auto purchases = main.insert("INSERT INTO AJUDACMP (Artigo, Forneced, Data) VALUES (?,?,?)");
    const auto when = [&](long fromDays, long toDays) {
        DateTime date = today.dateOnly().plusDays(-random.between(fromDays, toDays));
        date.hour = static_cast<int>(random.between(8, 18));
        date.minute = static_cast<int>(random.below(60));
        return date;
    };
    for (std::size_t i = 0; i < catalog.articles.size(); ++i) {
        const SampleArticle& a = catalog.articles[i];
        if (!a.bought) continue;
        const std::string latest = a.supplier ? *a.supplier : random.pick(catalog.suppliers).code;
        const DateTime latestDate = when(1, 60);
        purchases.row({a.code, latest, latestDate});
        // Every ninth article was also bought from another supplier at the same moment: the
        // most recent supplier is then decided by the tie rule, not by the order of the rows.
        const std::string& other = catalog.suppliers[(i * 7) % catalog.suppliers.size()].code;
        if (i % 9 == 4 && other != latest) purchases.row({a.code, other, latestDate});
        for (auto n = random.below(4); n > 0; --n) {
            purchases.row({a.code, random.pick(catalog.suppliers).code, when(61, 730)});
        }
    }
}

}  // namespace

void writeSampleCatalog(const SampleCatalog& catalog, const DateTime& today, SampleRandom& random,
                        SampleDatabase& main, SampleDatabase& external) {
    {
        auto salespeople = main.insert("INSERT INTO Vendedor (Codigo, Nome) VALUES (?,?)");
        for (std::size_t i = 0; i < sampleSalespeople().size(); ++i) {
            salespeople.row({static_cast<std::int64_t>(i + 1), sampleSalespeople()[i]});
        }
        auto customers = main.insert("INSERT INTO Clientes (Codigo, Nome) VALUES (?,?)");
        for (const SampleCustomer& c : catalog.customers) customers.row({c.code, c.name});
        auto lisbon = external.insert("INSERT INTO Clientes (Codigo, Nome) VALUES (?,?)");
        for (const SampleCustomer& c : catalog.lisbonCustomers) lisbon.row({c.code, c.name});
        auto suppliers = main.insert("INSERT INTO Fornec (Codigo, Nome) VALUES (?,?)");
        for (const SampleSupplier& s : catalog.suppliers) suppliers.row({s.code, s.name});
    }
    {
        auto warehouses = main.insert("INSERT INTO Armazens (Codigo, Nome) VALUES (?,?)");
        for (std::size_t w = 0; w < kSampleWarehouses.size(); ++w) {
            warehouses.row({kSampleWarehouses[w], sampleWarehouseNames()[w]});
        }
        // Several groups share the family code "GER" "Diversos": the families pick list
        // without a group shows it once.
        auto groups = main.insert("INSERT INTO Grupos (COD, Descr) VALUES (?,?)");
        auto families = main.insert("INSERT INTO Familia (Cod, Descr, Grupo) VALUES (?,?,?)");
        for (const SampleGroupName& g : sampleGroups()) {
            groups.row({g.code, g.name});
            for (const SampleFamilyName& f : g.families) families.row({f.code, f.name, g.code});
        }
    }
    writeArticles(catalog, random, main);
    writePurchases(catalog, today, random, main);
}

}  // namespace talvers
