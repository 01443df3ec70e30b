#include "utility/serial_check.h"

#include <set>

#include "shell/dataaccess/money.h"
#include "utility/serial_check_sql.h"
#include "utility/serial_set.h"

namespace talvers {
namespace {

constexpr const char* kLineEnd = "\r\n";

Table newFindings() {
    return Table({{"Artigo", FieldType::Text, 15},
                  {"Armazém", FieldType::Text, 6},
                  {"Número de Série", FieldType::Text, 20},
                  {"Situação", FieldType::Text, 20},
                  {"Documento", FieldType::Text, 40}});
}

Money firstMoney(const Table& result, std::string_view field) {
    if (result.rowCount() < 1) return Money();
    return result.at(0, field).toMoney().value_or(Money());
}

std::string buildMessage(Connection& bd, const std::string& article, const std::string& warehouse,
                         const std::string& count, char separator) {
    const Money available = firstMoney(bd.query(serialAvailableStockSql(article)), "Stdisp");
    const Table stock = bd.query(serialWarehouseStockSql(article));
    const Money onRecord = firstMoney(bd.query(serialRecordCountSql(article)), "TotNSer");

    std::string text =
        "Artigo  " + article + "  para Armazém " + warehouse + " Com Quant " + count + kLineEnd;
    text += "Stock Artigo  " + available.plainText(separator) + kLineEnd;
    text += "Total NSer  " + onRecord.plainText(separator) + kLineEnd;
    for (size_t r = 0; r < stock.rowCount(); ++r) {
        text += " Armazém " + stock.at(r, "Armazem").toText() + "  Stock " +
                stock.at(r, "Existenc").toMoney().value_or(Money()).plainText(separator) + kLineEnd;
    }
    return text;
}

// A movement changes the set only when its document line exists, its header is not
// cancelled (nvias -1) and its quantity is above zero.
bool lineIsValid(Connection& bd, const Table& moves, size_t r) {
    const MovementLine line{moves.at(r, "TipDoc").toText(), moves.at(r, "Serie").toText(),
                            moves.at(r, "NumDoc").toText(), moves.at(r, "Ano").toText(),
                            moves.at(r, "Linha").toText()};
    const auto sql = serialLineCheckSql(line);
    if (!sql) return false;
    const Table result = bd.query(*sql);
    if (result.rowCount() < 1) return false;
    const auto quantity = result.at(0, "Quant").toMoney();
    return quantity && *quantity > Money();
}

std::string documentKey(const Table& moves, size_t r) {
    return moves.at(r, "TipDoc").toText() + "/" + moves.at(r, "Ano").toText() + "/" +
           moves.at(r, "Serie").toText() + "/" + moves.at(r, "NumDoc").toText() + "/" +
           moves.at(r, "Linha").toText();
}

// Replays entries (stock type 1) and then exits (stock type 2) and records the findings.
void replayArticle(Connection& bd, const std::string& article, Table& findings) {
    SerialSet inStock;
    for (int stockType = 1; stockType <= 2; ++stockType) {
        const Table moves = bd.query(serialMovesSql(article, stockType));
        for (size_t r = 0; r < moves.rowCount(); ++r) {
            if (!lineIsValid(bd, moves, r)) continue;
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
    const Table record = bd.query(serialRecordListSql(article));
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

Table runSerialCheck(Connection& bd, const SerialMessageSink& showMessage, char decimalSeparator,
                     ReportProgress& progress) {
    Table findings = newFindings();
    const Table movements = bd.query(serialMovementsSql());
    const long count = static_cast<long>(movements.rowCount());
    std::string lastReplayed;
    bool replayedAny = false;
    for (size_t r = 0; r < movements.rowCount(); ++r) {
        const std::string article = movements.at(r, "Artigo").toText();
        const std::string warehouse = movements.at(r, "armazem").toText();
        const std::string quantity = movements.at(r, "Qtd").toText();
        showMessage(buildMessage(bd, article, warehouse, quantity, decimalSeparator));
        // The replay reads every warehouse of the article, so an article listed for several
        // warehouses (consecutive rows: the query orders by article) is replayed once; its
        // findings would otherwise be repeated per warehouse.
        if (!replayedAny || article != lastReplayed) {
            replayArticle(bd, article, findings);
            lastReplayed = article;
            replayedAny = true;
        }
        reportProgress(progress, static_cast<long>(r) + 1, count);
    }
    return findings;
}

}  // namespace talvers
