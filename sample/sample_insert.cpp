#include "sample/sample_insert.h"

#include <sqlite3.h>

#include <stdexcept>

namespace talvers {
namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

}  // namespace

SampleInsert::SampleInsert(sqlite3* db, const std::string& sql) : db_(db) {
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement_, nullptr) != SQLITE_OK) fail();
}

SampleInsert::~SampleInsert() {
    sqlite3_finalize(statement_);
}

void SampleInsert::row(std::initializer_list<SampleValue> values) {
    int index = 1;
    for (const SampleValue& value : values) bind(index++, value);
    if (sqlite3_step(statement_) != SQLITE_DONE) fail();
    sqlite3_reset(statement_);
}

void SampleInsert::bind(int index, const SampleValue& value) {
    // Amounts and dates go in as text: the DECIMAL columns turn a number text into an SQLite
    // integer or real by themselves, and dates stay text.
    const auto bindText = [&](const std::string& text) {
        return sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT);
    };
    const int rc = std::visit(
        Overloaded{
            [&](std::monostate) { return sqlite3_bind_null(statement_, index); },
            [&](std::int64_t number) { return sqlite3_bind_int64(statement_, index, number); },
            [&](std::string_view text) {
                return sqlite3_bind_text(statement_, index, text.data(),
                                         static_cast<int>(text.size()), SQLITE_TRANSIENT);
            },
            [&](Money amount) { return bindText(amount.toString()); },
            [&](const DateTime& date) { return bindText(date.isoDateTime()); },
        },
        value);
    if (rc != SQLITE_OK) fail();
}

void SampleInsert::fail() const {
    throw std::runtime_error(std::string("Erro ao gravar os dados de exemplo: ") +
                             sqlite3_errmsg(db_));
}

}  // namespace talvers
