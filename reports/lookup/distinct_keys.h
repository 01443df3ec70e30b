#pragma once
// DistinctKeys: the lookup keys of a report's rows, each distinct key kept once (keys compared
// exactly), and for each row the position of its key among them. A report fetches its lookups
// for keys() and reads a row's answer with LookupAnswers::rowsAt(ofRow(row)), without holding
// a copy of the key for every row.
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "reports/lookup/keyed_lookup.h"

namespace talvers {

class DistinctKeys {
  public:
    // Adds the next row's key.
    void add(LookupKey key);
    // The distinct keys in order of first appearance.
    const std::vector<LookupKey>& keys() const { return keys_; }
    // The position among keys() of the key of `row` (0-based, in the order of add()).
    size_t ofRow(size_t row) const { return rowKeys_.at(row); }
    size_t rowCount() const { return rowKeys_.size(); }

  private:
    std::vector<LookupKey> keys_;
    std::unordered_map<LookupKey, std::uint32_t, LookupKeyHash> positions_;
    std::vector<std::uint32_t> rowKeys_;
};

}  // namespace talvers
