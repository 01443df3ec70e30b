#pragma once
// Test fixture: a main and an external ERP database (SQLite files in a temporary folder, built
// from the shared schema) with helpers that insert just the rows a case needs, and the two
// connections the report engines read them through.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reports/frame/erp_session.h"
#include "reports/frame/report_progress.h"
#include "shell/dataaccess/connection.h"
#include "tests/support/temp_dir.h"

namespace talvers::testing {

// Tpterc of an order header: customer orders are 2, supplier orders 1.
inline constexpr int kCustomerOrder = 2;
inline constexpr int kSupplierOrder = 1;

// Keeps every progress report as "position/count".
class RecordingProgress : public ReportProgress {
  public:
    void advance(long position, long count) override {
        steps.push_back(std::to_string(position) + "/" + std::to_string(count));
    }
    std::vector<std::string> steps;
};

class ErpFixture {
  public:
    ErpFixture();
    ~ErpFixture();

    void execMain(const std::string& sql);
    void execExternal(const std::string& sql);

    // An open order line; `doc` is "type/year/series/number/line". The header is created the
    // first time its document is named, with nvias 0 and AreaG 2.
    void orderLine(std::string_view doc, std::string_view date, int kind, int party,
                   std::string_view article, std::string_view quantity);
    void customer(int code, std::string_view name);
    void article(std::string_view code, std::string_view name,
                 std::optional<int> days = std::nullopt);
    void stock(std::string_view article, std::string_view warehouse, std::string_view quantity);
    // The U_DOCGCLIN note row of a supplier order line ("type/year/series/number/line").
    void supplierLineNote(std::string_view doc, std::string_view note);
    // A purchase record of the article from a supplier (created when new).
    void purchase(std::string_view article, std::string_view supplier, std::string_view name,
                  std::string_view date);
    // In the external database: order `encDoc` ("type/year/series/number") was exported from
    // `origDoc` of customer `code` named `name`.
    void exported(std::string_view encDoc, std::string_view origDoc, int code,
                  std::string_view name);

    Connection& bd();
    Connection& bdExt();
    // The SQLite files, for a server (the TDS double) to serve.
    std::filesystem::path mainFile() const { return dir_ / "main.db"; }
    std::filesystem::path externalFile() const { return dir_ / "ext.db"; }
    // Both connections as the reports take them.
    ErpSession session(LookupMode lookups, bool companyVariant = false) {
        return {bd(), bdExt(), companyVariant, lookups};
    }

  private:
    TempDir dir_;
    std::unique_ptr<Connection> bd_;
    std::unique_ptr<Connection> bdExt_;
};

}  // namespace talvers::testing
