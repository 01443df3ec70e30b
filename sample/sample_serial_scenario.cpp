#include "sample/sample_serial_scenario.h"

namespace talvers {
namespace {

constexpr std::int64_t kStockIn = 1;
constexpr std::int64_t kStockOut = 2;

class SerialWriter {
  public:
    SerialWriter(const DateTime& today, SampleDocumentWriter& documents, SampleDatabase& main)
        : today_(today),
          documents_(documents),
          movements_(main.insert("INSERT INTO NSerMovs (Artigo, TpfStck, Armazem, NumSer, TipDoc,"
                                 " Serie, NumDoc, Ano, Linha) VALUES (?,?,?,?,?,?,?,?,?)")),
          onRecord_(main.insert("INSERT INTO NserExis (Artigo, NumSer) VALUES (?,?)")),
          picking_(main.insert("INSERT INTO qor_ARM_picking_Movimentos (Artigo, Armazem, TipoMov,"
                               " NumeroSerie) VALUES (?,?,?,?)")) {}

    // "SN2026-1-0003": serial 3 of the first battery.
    std::string serial(int battery, int n) const {
        std::string number = std::to_string(10000 + n).substr(1);
        return "SN" + std::to_string(today_.year) + "-" + std::to_string(battery + 1) + "-" +
               number;
    }

    // One document with one line of `quantity`, and a movement per serial on that line.
    void document(const SampleDocumentKind& kind, const SampleArticle& article, long daysAgo,
                  std::int64_t copies, std::int64_t quantity, const char* warehouse, int battery,
                  std::initializer_list<int> serials) {
        SampleHeader h{kind};
        h.date = today_.dateOnly().plusDays(-daysAgo);
        h.party = kind.partyType == 1 ? 2009 : 1001;
        h.copies = copies;
        const SampleDocumentKey key = documents_.header(h);
        const Money q = Money::fromInteger(quantity);
        documents_.line(key, 1, {article.code, warehouse, q, sampleLineValue(q, article.price)});
        const std::int64_t stock = kind.partyType == 1 ? kStockIn : kStockOut;
        for (int n : serials) movement(article, stock, warehouse, serial(battery, n), key, 1);
    }

    void movement(const SampleArticle& article, std::int64_t stock, const char* warehouse,
                  const std::string& number, const SampleDocumentKey& key, std::int64_t line) {
        movements_.row({article.code, stock, warehouse, number, key.type, key.series, key.number,
                        key.year, line});
    }

    void onRecord(const std::string& article, const std::string& number) {
        onRecord_.row({article, number});
    }

    void picked(const std::string& article, const char* warehouse, const char* type,
                SampleValue number) {
        picking_.row({article, warehouse, type, number});
    }

  private:
    DateTime today_;
    SampleDocumentWriter& documents_;
    SampleInsert movements_;
    SampleInsert onRecord_;
    SampleInsert picking_;
};

}  // namespace

void writeSampleSerialScenario(const SampleCatalog& catalog, const DateTime& today,
                               SampleDocumentWriter& documents, SampleDatabase& main) {
    SerialWriter w(today, documents, main);
    for (int b = 0; b < static_cast<int>(catalog.special.serial.size()); ++b) {
        const SampleArticle& battery = catalog.articles[catalog.special.serial[b]];
        const long base = 30 + 10 * b;
        // Serials 1 to 4 come in on a valid delivery note.
        w.document(kSupplierDeliveryNote, battery, base, 1, 4, "001", b, {1, 2, 3, 4});
        // 5 and 6 on a cancelled note (nvias -1), 7 on a line of quantity 0: neither counts.
        w.document(kSupplierDeliveryNote, battery, base - 1, -1, 2, "001", b, {5, 6});
        w.document(kSupplierDeliveryNote, battery, base - 2, 1, 0, "001", b, {7});
        // 1 goes out on a valid invoice; 2 on an invoice line of quantity 0, so it stays.
        w.document(kInvoice, battery, base - 5, 1, 1, "001", b, {1});
        w.document(kInvoice, battery, base - 6, 1, 0, "001", b, {2});
        // After the replay every battery holds serials 2, 3 and 4 in "001".
    }

    const SampleArticle& first = catalog.articles[catalog.special.serial[0]];
    const std::string& code = first.code;
    // The first battery also has serial 10 in "002"; serial 9 leaves without ever having come
    // in; serial 11 comes in on a document line that does not exist.
    w.document(kSupplierDeliveryNote, first, 20, 1, 1, "002", 0, {10});
    w.document(kInvoice, first, 18, 1, 1, "001", 0, {9});
    w.movement(first, kStockIn, "001", w.serial(0, 11),
               {kSupplierDeliveryNote.type, today.year, "A", 999999}, 1);

    // On record: the first battery's serials match the replay plus 8, which never came in;
    // the second lacks its serial 4; the third has none.
    for (int n : {2, 3, 4, 8}) w.onRecord(code, w.serial(0, n));
    w.onRecord(code, w.serial(0, 10));
    const std::string& second = catalog.articles[catalog.special.serial[1]].code;
    for (int n : {2, 3}) w.onRecord(second, w.serial(1, n));

    // Picking movements: type 'T' with a serial is what the check counts; other types and
    // 'T' without a serial (empty or NULL) are not. BAT99999 is not in Artigos.
    w.picked(code, "001", "T", w.serial(0, 2));
    w.picked(code, "001", "T", w.serial(0, 3));
    w.picked(code, "002", "T", w.serial(0, 10));
    w.picked(code, "001", "E", w.serial(0, 4));
    w.picked(code, "001", "T", std::string_view(""));
    w.picked(code, "001", "T", SampleValue());
    w.picked(second, "001", "T", w.serial(1, 3));
    w.picked(catalog.articles[catalog.special.serial[2]].code, "001", "T", w.serial(2, 1));
    w.picked("BAT99999", "001", "T", std::string_view("SN-DESCONHECIDO-1"));
}

}  // namespace talvers
