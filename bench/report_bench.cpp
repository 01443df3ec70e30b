// Runs every report on generated samples, fetching lookups both ways (set-based and per row),
// and prints per report the rows, the statements sent on each connection and the wall time,
// also with a simulated network round trip per statement. Usage:
//   report_bench [--lines N]... [--rtt-ms N]... [--budget-s S]
// Defaults: --lines 10000, --rtt-ms 0 1 20, --budget-s 60. A run whose round trips alone
// would exceed the budget is not waited out: its time is printed as the local time plus
// statements x round trip, marked "proj.". The samples go to a temporary folder that is
// removed at the end.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/delayed_connection.h"
#include "reports/frame/report_progress.h"
#include "reports/pending/pending_orders.h"
#include "reports/provisioning/provisioning.h"
#include "reports/supplier/orders_by_supplier.h"
#include "sample/sample_generator.h"
#include "shell/dataaccess/money.h"
#include "shell/dataaccess/sqlite/sqlite_connection.h"
#include "utility/serial_check.h"

namespace {

using namespace talvers;
namespace fs = std::filesystem;

using Report = std::function<Table(const ErpSession&)>;

struct Measure {
    size_t rows = 0;
    long main = 0;
    long external = 0;
    double seconds = 0;
};

long statements(const Connection& c) {
    return c.queriesSent() + c.statementsExecuted();
}

Measure run(const fs::path& folder, const Report& report, bool alternate, LookupMode mode,
            long rttMs) {
    auto bd = SqliteConnection::open(folder / "erp.db");
    auto bdExt = SqliteConnection::open(folder / "externa.db");
    DelayedConnection main(*bd, std::chrono::milliseconds(rttMs));
    DelayedConnection external(*bdExt, std::chrono::milliseconds(rttMs));
    const auto start = std::chrono::steady_clock::now();
    const Table rows = report({main, external, alternate, mode});
    Measure m;
    m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m.rows = rows.rowCount();
    m.main = statements(main);
    m.external = statements(external);
    return m;
}

struct Options {
    std::vector<long> lines;
    std::vector<long> rtts;
    double budget = 60;
};

Options parse(int argc, char* argv[]) {
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--lines") o.lines.push_back(std::atol(argv[i + 1]));
        if (name == "--rtt-ms") o.rtts.push_back(std::atol(argv[i + 1]));
        if (name == "--budget-s") o.budget = std::atof(argv[i + 1]);
    }
    if (o.lines.empty()) o.lines = {10000};
    if (o.rtts.empty()) o.rtts = {0, 1, 20};
    return o;
}

void generate(const fs::path& folder, long lines, bool alternate, const DateTime& today) {
    SampleOptions options;
    options.outDir = folder;
    options.lines = lines;
    options.today = today;
    options.alternateVariant = alternate;
    generateSample(options);
}

}  // namespace

int main(int argc, char* argv[]) {
    const Options options = parse(argc, argv);
    const auto root = fs::temp_directory_path() / "talvers-report-bench";
    const DateTime today = DateTime::today();
    const auto pending = PendingOrdersRequest::defaults(today);
    const auto bySupplier = OrdersBySupplierRequest::defaults(today);
    const auto provisioning = ProvisioningRequest::defaults(today);
    NullProgress progress;
    struct Named {
        const char* name;
        bool alternate;
        Report report;
    };
    const std::vector<Named> reports = {
        {"pendentes", false,
         [&](const ErpSession& s) { return runPendingOrders(s, pending, progress); }},
        {"fornecedor (ExtrairBDC)", false,
         [&](const ErpSession& s) { return runOrdersBySupplier(s, bySupplier, progress); }},
        {"fornecedor (ExtrairDIID)", true,
         [&](const ErpSession& s) { return runOrdersBySupplier(s, bySupplier, progress); }},
        {"aprovisionamento (default)", false,
         [&](const ErpSession& s) { return runProvisioning(s, provisioning, progress); }},
        {"aprovisionamento (variante)", true,
         [&](const ErpSession& s) { return runProvisioning(s, provisioning, progress); }},
        {"series", false,
         [&](const ErpSession& s) {
             return runSerialCheck(
                 s, [](const std::string&) {}, userDecimalSeparator(), progress);
         }},
    };
    for (const long lines : options.lines) {
        fs::remove_all(root);
        generate(root / "default", lines, false, today);
        generate(root / "alternate", lines, true, today);
        std::printf("\n== %ld lines ==\n%-28s %-9s %7s %8s %8s", lines, "report", "lookups", "rows",
                    "main", "external");
        for (long rtt : options.rtts) std::printf("  %9s", (std::to_string(rtt) + " ms").c_str());
        std::printf("\n");
        for (const Named& r : reports) {
            for (const LookupMode mode : {LookupMode::PerRow, LookupMode::SetBased}) {
                const fs::path folder = root / (r.alternate ? "alternate" : "default");
                const Measure local = run(folder, r.report, r.alternate, mode, 0);
                std::printf("%-28s %-9s %7zu %8ld %8ld", r.name,
                            mode == LookupMode::SetBased ? "conjunto" : "linha", local.rows,
                            local.main, local.external);
                for (long rtt : options.rtts) {
                    const long total = local.main + local.external;
                    if (rtt == 0) {
                        std::printf("  %7.2f s", local.seconds);
                    } else if (static_cast<double>(total) * rtt / 1000.0 > options.budget) {
                        std::printf("  %7.0f s proj.", local.seconds + total * rtt / 1000.0);
                    } else {
                        std::printf("  %7.2f s",
                                    run(folder, r.report, r.alternate, mode, rtt).seconds);
                    }
                }
                std::printf("\n");
                std::fflush(stdout);
            }
        }
    }
    fs::remove_all(root);
    return 0;
}
