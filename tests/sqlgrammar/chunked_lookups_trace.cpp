// Runs the reports that make lookups on a sample with the lookups fetched in chunks (the
// VALUES key tables a server below compatibility level 130 is sent instead of the JSON ones),
// tracing every statement, so that the grammar check reads those texts too: talvers-report
// itself sends the JSON form to a server that takes it.
//   chunked_lookups_trace SAMPLE_FOLDER TRACE_FILE [variante]
#include <cstdio>
#include <filesystem>
#include <string>

#include "reports/pending/pending_orders.h"
#include "reports/supplier/orders_by_supplier.h"
#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/sqlite/sqlite_connection.h"
#include "shell/dataaccess/tracing_connection.h"
#include "utility/serial_check.h"

int main(int argc, char* argv[]) {
    using namespace talvers;
    if (argc < 3) {
        std::fprintf(stderr, "uso: chunked_lookups_trace PASTA_DA_AMOSTRA TRACE [variante]\n");
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        const auto trace = std::make_shared<SqlTrace>(argv[2]);
        auto bd = withTrace(SqliteConnection::open(folder / "erp.db"), "main", trace);
        auto bdExt = withTrace(SqliteConnection::open(folder / "externa.db"), "external", trace);
        const bool variant = argc > 3 && std::string(argv[3]) == "variante";
        const ErpSession session{*bd, *bdExt, variant, LookupMode::Chunked};
        const DateTime today = DateTime::today();
        NullProgress progress;
        runPendingOrders(session, PendingOrdersRequest::defaults(today), progress);
        runOrdersBySupplier(session, OrdersBySupplierRequest::defaults(today), progress);
        runSerialCheck(
            session, [](const std::string&) {}, ',', progress);
    } catch (const DatabaseError& error) {
        std::fprintf(stderr, "%s (%ld)\n", error.description().c_str(), error.number());
        return 1;
    }
    return 0;
}
