#include "utility/serial_check.h"

#include <algorithm>
#include <set>

#include "reports/lookup/lookup_answers.h"
#include "shell/dataaccess/money.h"
#include "utility/serial_check_sql.h"
#include "utility/serial_set.h"

namespace talvers {
namespace {

constexpr const char* kLineEnd = "\r\n";

Table newFindings() {
    return Table({{"Artigo", FieldType::Text, 15},
                  {"Armazém", FieldType::Text, 10},
                  {"Número de Série", FieldType::Text, 20},
                  {"Situação", FieldType::Text, 20},
                  {"Documento", FieldType::Text, 40}});
}

Money firstMoney(const Table& result, std::string_view field) {
    if (result.rowCount() < 1) return Money();
    return result.at(0, field).toMoney().value_or(Money());
}

// The movement's document line, the line check's key.
LookupKey lineKey(const Table& moves, size_t r) {
    return {moves.at(r, "TipDoc").toText(), moves.at(r, "Serie").toText(),
            moves.at(r, "NumDoc").toText(), moves.at(r, "Ano").toText(),
            moves.at(r, "Linha").toText()};
}

// Rows in the order of the given columns (whole numbers compared as numbers, the rest as
// texts), so that an answer read without an order of its own is the same however fetched.
std::vector<size_t> rowsInOrder(const Table& table, std::initializer_list<std::string_view> by) {
    std::vector<size_t> columns;
    for (std::string_view name : by) columns.push_back(table.requireField(name));
    std::vector<size_t> rows(table.rowCount());
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = i;
    auto less = [&](size_t a, size_t b) {
        for (size_t c : columns) {
            const Value& x = table.at(a, c);
            const Value& y = table.at(b, c);
            const auto xi = x.toInteger();
            const auto yi = y.toInteger();
            if (xi && yi) {
                if (*xi != *yi) return *xi < *yi;
            } else if (x.toText() != y.toText()) {
                return x.toText() < y.toText();
            }
        }
        return false;
    };
    std::stable_sort(rows.begin(), rows.end(), less);
    return rows;
}

// Everything the check reads besides the movement query, for all its articles at once; the
// line checks depend on the movements and come second.
struct SerialLookups {
    SerialLookups(Connection& bd, const Table& movements, const ReportProgress& progress,
                  LookupMode mode) {
        std::vector<LookupKey> articles;
        std::vector<LookupKey> moveKeys;
        for (size_t r = 0; r < movements.rowCount(); ++r) {
            const std::string article = movements.at(r, "Artigo").toText();
            articles.push_back({article});
            moveKeys.push_back({article, "1"});
            moveKeys.push_back({article, "2"});
        }
        available = fetchLookup(bd, serialAvailableStockLookup(), articles, mode, progress);
        warehouses = fetchLookup(bd, serialWarehouseStockLookup(), articles, mode, progress);
        recordCount = fetchLookup(bd, serialRecordCountLookup(), articles, mode, progress);
        recordList = fetchLookup(bd, serialRecordListLookup(), articles, mode, progress);
        moves = fetchLookup(bd, serialMovesLookup(), moveKeys, mode, progress);
        std::vector<LookupKey> lines;
        for (const LookupKey& key : moveKeys) {
            const Table& m = moves.rowsOf(key);
            for (size_t r = 0; r < m.rowCount(); ++r) lines.push_back(lineKey(m, r));
        }
        lineChecks = fetchLookup(bd, serialLineCheckLookup(), lines, mode, progress);
    }
    LookupAnswers available, warehouses, recordCount, recordList, moves, lineChecks;
};

std::string buildMessage(const SerialLookups& lookups, const std::string& article,
                         const std::string& warehouse, const std::string& count, char separator) {
    const LookupKey key{article};
    const Money available = firstMoney(lookups.available.rowsOf(key), "Stdisp");
    const Table& stock = lookups.warehouses.rowsOf(key);
    const Money onRecord = firstMoney(lookups.recordCount.rowsOf(key), "TotNSer");

    std::string text =
        "Artigo  " + article + "  para Armazém " + warehouse + " Com Quant " + count + kLineEnd;
    text += "Stock Artigo  " + available.plainText(separator) + kLineEnd;
    text += "Total NSer  " + onRecord.plainText(separator) + kLineEnd;
    if (stock.empty()) return text;
    for (size_t r : rowsInOrder(stock, {"Armazem"})) {
        text += " Armazém " + stock.at(r, "Armazem").toText() + "  Stock " +
                stock.at(r, "Existenc").toMoney().value_or(Money()).plainText(separator) + kLineEnd;
    }
    return text;
}

// A movement changes the set only when its document line exists, its header is not
// cancelled (nvias -1) and its quantity is above zero.
bool lineIsValid(const SerialLookups& lookups, const Table& moves, size_t r) {
    const Table& result = lookups.lineChecks.rowsOf(lineKey(moves, r));
    if (result.rowCount() < 1) return false;
    const auto quantity = result.at(0, "Quant").toMoney();
    return quantity && *quantity > Money();
}

std::string documentKey(const Table& moves, size_t r) {
    return moves.at(r, "TipDoc").toText() + "/" + moves.at(r, "Ano").toText() + "/" +
           moves.at(r, "Serie").toText() + "/" + moves.at(r, "NumDoc").toText() + "/" +
           moves.at(r, "Linha").toText();
}

// Replays entries (stock type 1) and then exits (stock type 2), each in document order, and
// records the findings.
void replayArticle(const SerialLookups& lookups, const std::string& article, Table& findings) {
    SerialSet inStock;
    for (const char* stockType : {"1", "2"}) {
        const Table& moves = lookups.moves.rowsOf({article, stockType});
        if (moves.empty()) continue;
        for (size_t r : rowsInOrder(
                 moves, {"Ano", "TipDoc", "Serie", "NumDoc", "Linha", "Armazem", "NumSer"})) {
            if (!lineIsValid(lookups, moves, r)) continue;
            SerialEntry entry{moves.at(r, "Armazem").toText(), moves.at(r, "Artigo").toText(),
                              moves.at(r, "NumSer").toText()};
            if (moves.at(r, "TpfStck").toInteger().value_or(0) == 1) {
                inStock.add(std::move(entry));
            } else if (!inStock.remove(entry)) {
                findings.addRow({entry.article, entry.warehouse, entry.serial, "Saída sem entrada",
                                 documentKey(moves, r)});
            }
        }
    }
    const Table& record = lookups.recordList.rowsOf({article});
    std::set<std::string> onRecord;
    for (size_t r = 0; r < record.rowCount(); ++r) onRecord.insert(record.at(r, "NumSer").toText());
    for (const SerialEntry& e : inStock.entries()) {
        findings.addRow({e.article, e.warehouse, e.serial,
                         onRecord.count(e.serial) ? "Em stock" : "Sem registo", ""});
    }
    for (const std::string& serial : onRecord) {
        if (!inStock.contains(serial)) findings.addRow({article, "", serial, "Não encontrado", ""});
    }
}

}  // namespace

ReportOutput serialCheckOutput() {
    return {"Números de Série", "Verificação de Números de Série em "};
}

Table runSerialCheck(const ErpSession& session, const SerialMessageSink& showMessage,
                     char decimalSeparator, ReportProgress& progress) {
    Connection& bd = session.main;
    const LookupMode mode = session.lookups;
    Table findings = newFindings();
    const Table movements = bd.query(serialMovementsSql());
    if (movements.empty()) return findings;
    const SerialLookups lookups(bd, movements, progress, mode);
    const long count = static_cast<long>(movements.rowCount());
    std::string lastReplayed;
    bool replayedAny = false;
    for (size_t r = 0; r < movements.rowCount(); ++r) {
        const std::string article = movements.at(r, "Artigo").toText();
        const std::string warehouse = movements.at(r, "armazem").toText();
        const std::string quantity = movements.at(r, "Qtd").toText();
        showMessage(buildMessage(lookups, article, warehouse, quantity, decimalSeparator));
        // The replay reads every warehouse of the article, so an article listed for several
        // warehouses (consecutive rows: the query orders by article) is replayed once; its
        // findings would otherwise be repeated per warehouse.
        if (!replayedAny || article != lastReplayed) {
            replayArticle(lookups, article, findings);
            lastReplayed = article;
            replayedAny = true;
        }
        reportProgress(progress, static_cast<long>(r) + 1, count);
    }
    return findings;
}

}  // namespace talvers
