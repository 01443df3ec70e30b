#pragma once
// KeyedLookup: one kind of lookup a report makes for many keys (an article's last supplier, a
// document's Lisbon order, ...), written twice: the reference text for one key, and the
// set-based text that answers a chunk of keys in one statement. fetchLookup() chooses.
//
// The set-based text receives the keys as the rows of a VALUES table "(1, 'A'), (2, 'B')": a
// number n, then the key's literals. It returns the reference text's columns plus n, and for
// each key exactly the rows the reference text returns for it, in the same order. Keys are
// joined with the table's column on the left of "=", so the column's collation decides (as
// with the reference text's literal) and a key is matched by the same rows both ways; n keeps
// keys apart that the collation would call equal.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talvers {

using LookupKey = std::vector<std::string>;

struct KeyedLookup {
    // The reference text for one key; nullopt when the key cannot be sent safely (a number
    // part that is not a whole number): such a key has no rows.
    std::function<std::optional<std::string>(const LookupKey&)> perRowSql;
    // The key's literals for the VALUES row, nullopt exactly when perRowSql gives nullopt.
    std::function<std::optional<std::string>(const LookupKey&)> keyLiterals;
    // The set-based text for the given VALUES rows.
    std::function<std::string(std::string_view keyRows)> setBasedSql;
};

// The literals of a key's parts, by `kinds`, one letter per part: 'T' a text between quotes
// (quotes doubled), 'N' a whole number spliced bare. nullopt when a number part is not whole
// or the key has another number of parts.
std::optional<std::string> keyLiterals(const LookupKey& key, std::string_view kinds);

// The key table a set-based text joins: "(values ROWS) as k(n, COLUMNS)".
std::string keyTable(std::string_view rows, std::string_view columns);

// A lookup keyed by one article (a text): the reference text takes the article alone, the
// set-based text is `head` + the key table (n, Artigo) + `tail`.
KeyedLookup articleLookup(std::string (*perRow)(std::string_view), std::string head,
                          std::string tail);

}  // namespace talvers
