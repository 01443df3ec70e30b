#pragma once
// The serial numbers in stock for one article, rebuilt by replaying its movements: an entry
// adds (warehouse, article, serial), an exit removes the matching entry. Kept in entry order
// so that the report lists serials as they came in. Matching is exact.
#include <string>
#include <vector>

namespace talvers {

struct SerialEntry {
    std::string warehouse;
    std::string article;
    std::string serial;
    bool operator==(const SerialEntry&) const = default;
};

class SerialSet {
  public:
    void add(SerialEntry entry) { entries_.push_back(std::move(entry)); }
    // Removes the first matching entry; false when none matches (an exit without an entry).
    bool remove(const SerialEntry& entry);
    const std::vector<SerialEntry>& entries() const { return entries_; }
    bool contains(const std::string& serial) const;

  private:
    std::vector<SerialEntry> entries_;
};

}  // namespace talvers
