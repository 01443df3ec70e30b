#pragma once
// KeyedLookup: one kind of lookup a report makes for many keys (an article's last supplier, a
// document's Lisbon order, ...), written twice: the reference text for one key, and the
// set-based text that answers many keys in one statement. fetchLookup() chooses.
//
// The set-based text joins a key table "k" (see key_table.h): a column n, the key's position
// in the statement, then one column per key part. It returns the reference text's columns
// plus n, and for each key exactly the rows the reference text returns for it, in the same
// order. Keys are joined with the table's column on the left of "=", so the column's
// collation decides (as with the reference text's literal) and a key is matched by the same
// rows both ways; n keeps keys apart that the collation would call equal.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talvers {

using LookupKey = std::vector<std::string>;

// Keys are compared exactly (byte for byte); a report looks up every row's keys, so they are
// hashed rather than ordered.
struct LookupKeyHash {
    size_t operator()(const LookupKey& key) const;
};

struct KeyedLookup {
    // The reference text for one key; nullopt when the key cannot be sent safely (a number
    // part that is not a whole number): such a key has no rows.
    std::function<std::optional<std::string>(const LookupKey&)> perRowSql;
    // The key table's column names, one per key part, and their kinds, one letter per part:
    // 'T' a text, 'N' a whole number.
    std::vector<std::string> columns;
    std::string kinds;
    // The parts as the key table receives them; nullopt exactly when perRowSql gives nullopt.
    // By default sendableParts(key, kinds).
    std::function<std::optional<LookupKey>(const LookupKey&)> sentParts;
    // The set-based text around the given key table ("(...) as k").
    std::function<std::string(std::string_view keyTable)> setBasedSql;
};

// The key's parts ready for a key table: the number parts as sqlWholeNumber gives them.
// nullopt when a number part is not whole or the key has another number of parts than
// `kinds` has letters.
std::optional<LookupKey> sendableParts(const LookupKey& key, std::string_view kinds);

// A lookup keyed by one article (a text): the reference text takes the article alone, the
// set-based text is `head` + the key table (n, Artigo) + `tail`.
KeyedLookup articleLookup(std::string (*perRow)(std::string_view), std::string head,
                          std::string tail);

}  // namespace talvers
