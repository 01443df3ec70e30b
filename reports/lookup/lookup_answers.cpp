#include "reports/lookup/lookup_answers.h"

#include <cstdint>
#include <span>
#include <unordered_map>

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
        : connection_(connection), lookup_(lookup), progress_(progress), slotOf_(keys.size()) {
        const auto hash = [](const LookupKey* key) { return LookupKeyHash()(*key); };
        const auto equal = [](const LookupKey* a, const LookupKey* b) { return *a == *b; };
        std::unordered_map<const LookupKey*, size_t, decltype(hash), decltype(equal)> slots(
            keys.size(), hash, equal);
        for (size_t i = 0; i < keys.size(); ++i) {
            const auto [slot, isNew] = slots.try_emplace(&keys[i], kNotSent);
            if (isNew) {
                auto parts = lookup.sentParts ? lookup.sentParts(keys[i])
                                              : sendableParts(keys[i], lookup.kinds);
                if (parts) {
                    slot->second = keys_.size();
                    keys_.push_back(&keys[i]);
                    parts_.push_back(std::move(*parts));
                }
            }
            slotOf_[i] = slot->second;
        }
        tables_.assign(keys_.size(), nullptr);
    }

    LookupAnswers perRow() {
        for (size_t slot = 0; slot < keys_.size(); ++slot) {
            stopIfAsked();
            if (const auto sql = lookup_.perRowSql(*keys_[slot])) {
                Table& rows = answers_.rows_[*keys_[slot]];
                rows = connection_.query(*sql);
                tables_[slot] = &rows;
            }
        }
        return finish();
    }

    LookupAnswers chunked() {
        for (size_t first = 0; first < parts_.size(); first += kLookupChunkSize) {
            const size_t count = std::min(kLookupChunkSize, parts_.size() - first);
            const std::span<const LookupKey> chunk(parts_.data() + first, count);
            answer(valuesKeyTable(chunk, lookup_.columns, lookup_.kinds), first, count);
        }
        return finish();
    }

    LookupAnswers oneStatement() {
        if (connection_.refuses(kJsonKeyTableForm)) return chunked();
        if (parts_.empty()) return finish();
        try {
            answer(jsonKeyTable(parts_, lookup_.columns, lookup_.kinds), 0, parts_.size());
            return finish();
        } catch (const DatabaseError& error) {
            if (!refusesJsonKeyTable(error.number())) throw;
        }
        answers_.rows_.clear();
        tables_.assign(keys_.size(), nullptr);
        LookupAnswers answers = chunked();
        connection_.noteRefused(kJsonKeyTableForm);
        return answers;
    }

  private:
    static constexpr size_t kNotSent = static_cast<size_t>(-1);

    void stopIfAsked() const {
        if (progress_.cancelRequested()) throw ReportCancelled();
    }

    // Runs one set-based statement for the keys first .. first + count - 1 and files each
    // answer row under its key.
    void answer(const std::string& keyTable, size_t first, size_t count) {
        stopIfAsked();
        Table result = connection_.query(lookup_.setBasedSql(keyTable));
        const size_t n = result.requireField("n");
        for (size_t r = 0; r < result.rowCount(); ++r) {
            const auto position = result.at(r, n).toInteger();
            if (!position || *position < 0 || *position >= static_cast<std::int64_t>(count)) {
                throw DatabaseError(kLookupAnswerError,
                                    "A resposta da base de dados a uma consulta em conjunto "
                                    "indica uma chave que não foi pedida (" +
                                        result.at(r, n).toText() + ").");
            }
            const size_t slot = first + static_cast<size_t>(*position);
            if (tables_[slot] == nullptr) {
                tables_[slot] = &answers_.rows_[*keys_[slot]];
                *tables_[slot] = Table(result.fields());
            }
            tables_[slot]->addRow(std::move(result.rows()[r]));
        }
    }

    // Every given key's answer by its position.
    LookupAnswers finish() {
        answers_.byPosition_.resize(slotOf_.size());
        for (size_t i = 0; i < slotOf_.size(); ++i) {
            answers_.byPosition_[i] = slotOf_[i] == kNotSent ? nullptr : tables_[slotOf_[i]];
        }
        return std::move(answers_);
    }

    Connection& connection_;
    const KeyedLookup& lookup_;
    const ReportProgress& progress_;
    std::vector<size_t> slotOf_;          // per given key: its distinct sendable key, or kNotSent
    std::vector<const LookupKey*> keys_;  // the distinct sendable keys
    std::vector<LookupKey> parts_;        // their parts as sent
    std::vector<Table*> tables_;          // their answers once any row came
    LookupAnswers answers_;
};

namespace {
const Table kNoRows;
}

const Table& LookupAnswers::rowsOf(const LookupKey& key) const {
    const auto found = rows_.find(key);
    return found == rows_.end() ? kNoRows : found->second;
}

const Table& LookupAnswers::rowsAt(size_t position) const {
    const Table* rows = byPosition_.at(position);
    return rows == nullptr ? kNoRows : *rows;
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
