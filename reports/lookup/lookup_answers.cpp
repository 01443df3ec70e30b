#include "reports/lookup/lookup_answers.h"

#include <cstdint>
#include <set>
#include <span>

#include "reports/lookup/key_table.h"
#include "shell/dataaccess/database_error.h"

namespace talvers {

bool refusesJsonKeyTable(long errorNumber) {
    return errorNumber == 208 || errorNumber == 195 || errorNumber == 468;
}

// One fetch: the distinct sendable keys in order of first appearance, and the answers.
class LookupFetch {
  public:
    LookupFetch(Connection& connection, const KeyedLookup& lookup,
                const std::vector<LookupKey>& keys, const ReportProgress& progress)
        : connection_(connection), lookup_(lookup), progress_(progress) {
        std::set<LookupKey> seen;
        for (const LookupKey& key : keys) {
            if (!seen.insert(key).second) continue;
            auto parts =
                lookup.sentParts ? lookup.sentParts(key) : sendableParts(key, lookup.kinds);
            if (!parts) continue;
            keys_.push_back(&key);
            parts_.push_back(std::move(*parts));
        }
    }

    LookupAnswers perRow() {
        for (const LookupKey* key : keys_) {
            stopIfAsked();
            if (const auto sql = lookup_.perRowSql(*key)) {
                answers_.rows_[*key] = connection_.query(*sql);
            }
        }
        return std::move(answers_);
    }

    LookupAnswers chunked() {
        for (size_t first = 0; first < parts_.size(); first += kLookupChunkSize) {
            const size_t count = std::min(kLookupChunkSize, parts_.size() - first);
            const std::span<const LookupKey> chunk(parts_.data() + first, count);
            answer(valuesKeyTable(chunk, lookup_.columns, lookup_.kinds), first, count);
        }
        return std::move(answers_);
    }

    LookupAnswers oneStatement() {
        if (connection_.refuses(kJsonKeyTableForm)) return chunked();
        if (parts_.empty()) return std::move(answers_);
        try {
            answer(jsonKeyTable(parts_, lookup_.columns, lookup_.kinds), 0, parts_.size());
            return std::move(answers_);
        } catch (const DatabaseError& error) {
            if (!refusesJsonKeyTable(error.number())) throw;
        }
        answers_.rows_.clear();
        LookupAnswers answers = chunked();
        connection_.noteRefused(kJsonKeyTableForm);
        return answers;
    }

  private:
    void stopIfAsked() const {
        if (progress_.cancelRequested()) throw ReportCancelled();
    }

    // Runs one set-based statement for the keys first .. first + count - 1 and files each
    // answer row under its key.
    void answer(const std::string& keyTable, size_t first, size_t count) {
        stopIfAsked();
        const Table result = connection_.query(lookup_.setBasedSql(keyTable));
        const size_t n = result.requireField("n");
        for (size_t r = 0; r < result.rowCount(); ++r) {
            const auto position = result.at(r, n).toInteger();
            if (!position || *position < 0 || *position >= static_cast<std::int64_t>(count)) {
                throw DatabaseError(kLookupAnswerError,
                                    "A resposta da base de dados a uma consulta em conjunto "
                                    "indica uma chave que não foi pedida (" +
                                        result.at(r, n).toText() + ").");
            }
            Table& rows = answers_.rows_[*keys_[first + static_cast<size_t>(*position)]];
            if (rows.fieldCount() == 0) rows = Table(result.fields());
            rows.addRow(result.row(r));
        }
    }

    Connection& connection_;
    const KeyedLookup& lookup_;
    const ReportProgress& progress_;
    std::vector<const LookupKey*> keys_;
    std::vector<LookupKey> parts_;
    LookupAnswers answers_;
};

const Table& LookupAnswers::rowsOf(const LookupKey& key) const {
    static const Table kNone;
    const auto found = rows_.find(key);
    return found == rows_.end() ? kNone : found->second;
}

LookupAnswers fetchLookup(Connection& connection, const KeyedLookup& lookup,
                          const std::vector<LookupKey>& keys, LookupMode mode,
                          const ReportProgress& progress) {
    LookupFetch fetch(connection, lookup, keys, progress);
    switch (mode) {
        case LookupMode::PerRow:
            return fetch.perRow();
        case LookupMode::Chunked:
            return fetch.chunked();
        case LookupMode::SetBased:
            break;
    }
    return fetch.oneStatement();
}

}  // namespace talvers
