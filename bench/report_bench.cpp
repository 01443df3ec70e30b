// Runs every report on a generated sample and prints, per report, the rows it produced, the
// statements sent on each connection and the wall time. Usage:
//   report_bench [--lines N]   (default 10000)
// The samples go to a temporary folder that is removed at the end.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "reports/frame/report_progress.h"
#include "reports/pending/pending_orders.h"
#include "reports/provisioning/provisioning.h"
#include "reports/supplier/orders_by_supplier.h"
#include "sample/sample_generator.h"
#include "shell/dataaccess/money.h"
#include "shell/dataaccess/sqlite_connection.h"
#include "utility/serial_check.h"

namespace {

using namespace talvers;

struct Connections {
    std::unique_ptr<SqliteConnection> bd;
    std::unique_ptr<SqliteConnection> bdExt;
};

Connections openSample(const std::filesystem::path& folder) {
    return {SqliteConnection::open(folder / "erp.db"),
            SqliteConnection::open(folder / "externa.db")};
}

void measure(const char* name, const std::filesystem::path& folder,
             const std::function<Table(Connection&, Connection&)>& report) {
    Connections c = openSample(folder);
    const auto start = std::chrono::steady_clock::now();
    const Table rows = report(*c.bd, *c.bdExt);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-28s rows %7zu   queries main %7ld  external %7ld   %8.2f s\n", name,
                rows.rowCount(), c.bd->queriesSent(), c.bdExt->queriesSent(), seconds);
}

}  // namespace

int main(int argc, char* argv[]) {
    long lines = 10000;
    if (argc == 3 && std::string(argv[1]) == "--lines") lines = std::atol(argv[2]);
    const auto root = std::filesystem::temp_directory_path() / "talvers-report-bench";
    std::filesystem::remove_all(root);
    const DateTime today = DateTime::today();
    for (const bool alternate : {false, true}) {
        SampleOptions options;
        options.outDir = root / (alternate ? "alternate" : "default");
        options.lines = lines;
        options.today = today;
        options.alternateVariant = alternate;
        const auto start = std::chrono::steady_clock::now();
        generateSample(options);
        std::printf(
            "sample %-9s %ld lines generated in %.2f s\n", alternate ? "alternate" : "default",
            lines, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    const DateTime yearAgo = today.oneYearEarlier();
    NullProgress progress;
    const auto def = root / "default";
    const auto alt = root / "alternate";
    measure("pendentes", def, [&](Connection& bd, Connection& ext) {
        return runPendingOrders(bd, ext, yearAgo, progress);
    });
    measure("fornecedor (ExtrairBDC)", def, [&](Connection& bd, Connection& ext) {
        return runOrdersBySupplier(false, bd, ext, yearAgo, progress);
    });
    measure("fornecedor (ExtrairDIID)", alt, [&](Connection& bd, Connection& ext) {
        return runOrdersBySupplier(true, bd, ext, yearAgo, progress);
    });
    const ProvisioningFilter filter{{today.year, 1, 1, 0, 0, 0}, today, "", "", ""};
    measure("aprovisionamento (default)", def, [&](Connection& bd, Connection&) {
        return runProvisioning(bd, false, filter, progress);
    });
    measure("aprovisionamento (variante)", alt, [&](Connection& bd, Connection&) {
        return runProvisioning(bd, true, filter, progress);
    });
    measure("series", def, [&](Connection& bd, Connection&) {
        return runSerialCheck(
            bd, [](const std::string&) {}, userDecimalSeparator(), progress);
    });
    std::filesystem::remove_all(root);
    return 0;
}
