#include "reports/lookup/lookup_answers.h"

#include <cstdint>
#include <set>

#include "shell/dataaccess/database_error.h"

namespace talvers {
namespace {

void stopIfAsked(const ReportProgress& progress) {
    if (progress.cancelRequested()) throw ReportCancelled();
}

// The keys that can be sent, once each, with their literals, in order of first appearance.
struct SendableKey {
    const LookupKey* key;
    std::string literals;
};

std::vector<SendableKey> sendableKeys(const KeyedLookup& lookup,
                                      const std::vector<LookupKey>& keys) {
    std::set<LookupKey> seen;
    std::vector<SendableKey> result;
    for (const LookupKey& key : keys) {
        if (!seen.insert(key).second) continue;
        if (auto literals = lookup.keyLiterals(key)) result.push_back({&key, std::move(*literals)});
    }
    return result;
}

}  // namespace

const Table& LookupAnswers::rowsOf(const LookupKey& key) const {
    static const Table kNone;
    const auto found = rows_.find(key);
    return found == rows_.end() ? kNone : found->second;
}

LookupAnswers fetchLookup(Connection& connection, const KeyedLookup& lookup,
                          const std::vector<LookupKey>& keys, LookupMode mode,
                          const ReportProgress& progress) {
    LookupAnswers answers;
    const std::vector<SendableKey> sendable = sendableKeys(lookup, keys);
    if (mode == LookupMode::PerRow) {
        for (const SendableKey& k : sendable) {
            stopIfAsked(progress);
            if (const auto sql = lookup.perRowSql(*k.key)) {
                answers.rows_[*k.key] = connection.query(*sql);
            }
        }
        return answers;
    }
    for (size_t first = 0; first < sendable.size(); first += kLookupChunkSize) {
        stopIfAsked(progress);
        const size_t end = std::min(sendable.size(), first + kLookupChunkSize);
        std::string keyRows;
        for (size_t i = first; i < end; ++i) {
            if (i > first) keyRows += ", ";
            keyRows += "(" + std::to_string(i - first + 1) + ", " + sendable[i].literals + ")";
        }
        const Table result = connection.query(lookup.setBasedSql(keyRows));
        const size_t n = result.requireField("n");
        for (size_t r = 0; r < result.rowCount(); ++r) {
            const auto position = result.at(r, n).toInteger();
            if (!position || *position < 1 || *position > static_cast<std::int64_t>(end - first)) {
                throw DatabaseError(kLookupAnswerError,
                                    "A resposta da base de dados a uma consulta em conjunto "
                                    "indica uma chave que não foi pedida (" +
                                        result.at(r, n).toText() + ").");
            }
            Table& rows = answers.rows_[*sendable[first + *position - 1].key];
            if (rows.fieldCount() == 0) rows = Table(result.fields());
            rows.addRow(result.row(r));
        }
    }
    return answers;
}

}  // namespace talvers
