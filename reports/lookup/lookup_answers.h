#pragma once
// Fetching one kind of lookup for all the keys of a run, and reading the answers back by key.
// The report asks for every key first and then reads; it never knows which way they were
// fetched. Keys are compared exactly (byte for byte); each distinct key is fetched once.
#include <unordered_map>
#include <vector>

#include "reports/frame/lookup_mode.h"
#include "reports/frame/report_progress.h"
#include "reports/lookup/keyed_lookup.h"
#include "shell/dataaccess/connection.h"

namespace talvers {

// The most keys one chunked (VALUES) statement carries.
inline constexpr size_t kLookupChunkSize = 1000;
// The error number of a set-based answer that names a key it was not asked for.
inline constexpr long kLookupAnswerError = 50010;
// The form Connection::noteRefused() records for a server that refuses the JSON key table.
inline constexpr const char* kJsonKeyTableForm = "OPENJSON";

// Whether a failure of a JSON key-table statement is SQL Server saying it cannot run that
// form: OPENJSON unknown below compatibility level 130 ("invalid object name", 208), JSON
// functions unknown before SQL Server 2016 (195), or a column whose collation is not the
// database's and so conflicts with the key's (468).
bool refusesJsonKeyTable(long errorNumber);

class LookupAnswers {
  public:
    // The rows of `key`, in the reference text's order; a table without rows (and without
    // fields) for a key that has none or was never asked for.
    const Table& rowsOf(const LookupKey& key) const;
    // The same for the key at `position` in the keys fetchLookup() was given, without looking
    // the key up: what a report reads for each of its rows.
    const Table& rowsAt(size_t position) const;

  private:
    friend class LookupFetch;
    std::unordered_map<LookupKey, Table, LookupKeyHash> rows_;
    std::vector<const Table*> byPosition_;  // into rows_ (whose elements never move), or null
};

// Sends the reference text once per distinct key (PerRow), the set-based text once per chunk
// of at most kLookupChunkSize distinct keys (Chunked), or once for all of them in a JSON key
// table (SetBased). When the server answers the JSON form with one of the refusals above, the
// same keys go chunked, and if that succeeds the connection is marked so that every later
// SetBased fetch on it goes chunked at once; a chunked statement that fails too reports its
// own failure. Between statements it stops with ReportCancelled when the sink asks for it.
// Database failures propagate as DatabaseError.
LookupAnswers fetchLookup(Connection& connection, const KeyedLookup& lookup,
                          const std::vector<LookupKey>& keys, LookupMode mode,
                          const ReportProgress& progress);

}  // namespace talvers
