// What the grid adds to a pending-orders run: runs the report on a generated sample, writes
// the workbook, then fills and paints the window's grid with the rows, and prints each time.
// Usage (no display needed): QT_QPA_PLATFORM=offscreen report_grid_bench [--lines N]
#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "reports/frame/desktop/report_grid.h"
#include "reports/pending/pending_orders.h"
#include "sample/sample_generator.h"
#include "shell/dataaccess/sqlite/sqlite_connection.h"
#include "shell/workbook/workbook_writer.h"
#include "tests/support/recording_presenter.h"

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    using namespace talvers;
    long lines = 100000;
    if (argc == 3 && std::string(argv[1]) == "--lines") lines = std::atol(argv[2]);
    const auto root = std::filesystem::temp_directory_path() / "talvers-grid-bench";
    std::filesystem::remove_all(root);
    SampleOptions options;
    options.outDir = root;
    options.lines = lines;
    options.today = DateTime::today();
    generateSample(options);

    auto bd = SqliteConnection::open(root / "erp.db");
    auto bdExt = SqliteConnection::open(root / "externa.db");
    NullProgress progress;
    auto start = std::chrono::steady_clock::now();
    Table rows =
        runPendingOrders({*bd, *bdExt}, PendingOrdersRequest::defaults(options.today), progress);
    const double query = secondsSince(start);
    start = std::chrono::steady_clock::now();
    testing::RecordingPresenter messages;
    writeWorkbook({"Enc. Pendentes"}, {"Encomendas Pendentes"}, (root / "p.xlsx").string(), rows,
                  messages);
    const double workbook = secondsSince(start);

    ReportGrid grid;
    grid.resize(900, 500);
    grid.show();
    start = std::chrono::steady_clock::now();
    grid.showRows(std::make_shared<const Table>(std::move(rows)));
    grid.grab();  // the first paint
    const double fill = secondsSince(start);
    std::printf(
        "pendentes %ld lines: rows %d  engine %.2f s  workbook %.2f s  grid fill+paint %.3f s\n",
        lines, grid.model()->rowCount(), query, workbook, fill);
    std::filesystem::remove_all(root);
    return 0;
}
