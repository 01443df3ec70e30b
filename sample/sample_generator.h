#pragma once
// The sample ERP: a Portuguese car-parts wholesaler whose data makes every report find rows
// and meet its edge cases. generateSample writes, in outDir (created when missing), the main
// database "erp.db", the external database "externa.db" and the settings file "Talvers.qor"
// pointing at both. Each file is written under a temporary name and renamed over the old one
// only when all three are complete, so a failure leaves the previous sample untouched.
// The same options give the same data, on every platform. Failures throw
// std::invalid_argument (bad options) or std::runtime_error, with a message for the user.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "sample/sample_database.h"
#include "shell/dataaccess/date_time.h"

namespace talvers {

struct SampleOptions {
    std::filesystem::path outDir;
    uint64_t seed = 1;
    long lines = 2000;  // customer order lines, at least 100
    DateTime today;     // the documents are dated around it
    // Whether the company's taxpayer number is the variant's (the reports' alternate variant).
    bool alternateVariant = false;
    std::string variantTaxpayer = "500000000";  // nine digits
};

struct SampleResult {
    std::filesystem::path mainDatabase;
    std::filesystem::path externalDatabase;
    std::filesystem::path settingsFile;
    std::vector<SampleTableCount> mainCounts;
    std::vector<SampleTableCount> externalCounts;
};

SampleResult generateSample(const SampleOptions& options);

}  // namespace talvers
