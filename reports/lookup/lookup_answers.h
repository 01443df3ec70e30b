#pragma once
// Fetching one kind of lookup for all the keys of a run, and reading the answers back by key.
// The report asks for every key first and then reads; it never knows which way they were
// fetched. Keys are compared exactly (byte for byte); each distinct key is fetched once.
#include <map>
#include <vector>

#include "reports/frame/lookup_mode.h"
#include "reports/frame/report_progress.h"
#include "reports/lookup/keyed_lookup.h"
#include "shell/dataaccess/connection.h"

namespace talvers {

// The most keys one set-based statement carries.
inline constexpr size_t kLookupChunkSize = 1000;
// The error number of a set-based answer that names a key it was not asked for.
inline constexpr long kLookupAnswerError = 50010;

class LookupAnswers {
  public:
    // The rows of `key`, in the reference text's order; a table without rows (and without
    // fields) for a key that has none or was never asked for.
    const Table& rowsOf(const LookupKey& key) const;

  private:
    friend LookupAnswers fetchLookup(Connection&, const KeyedLookup&, const std::vector<LookupKey>&,
                                     LookupMode, const ReportProgress&);
    std::map<LookupKey, Table> rows_;
};

// Sends the reference text once per distinct key (PerRow), or the set-based text once per
// chunk of at most kLookupChunkSize distinct keys (SetBased). Between statements it stops with
// ReportCancelled when the sink asks for it. Database failures propagate as DatabaseError.
LookupAnswers fetchLookup(Connection& connection, const KeyedLookup& lookup,
                          const std::vector<LookupKey>& keys, LookupMode mode,
                          const ReportProgress& progress);

}  // namespace talvers
