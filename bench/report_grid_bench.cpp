// What the grid adds to a pending-orders run: runs the report on a generated sample, writes
// the workbook, then fills and paints the window's grid with the rows, and prints each time.
// Usage: report_grid_bench [--lines N] (--help explains). It needs no display: without
// QT_QPA_PLATFORM it paints offscreen.
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
    const char* usage =
        "Uso: report_grid_bench [--lines N]\n"
        "\n"
        "Corre o relatório de encomendas pendentes numa amostra de N linhas (por omissão\n"
        "100000), escreve o livro e preenche e pinta a grelha da janela do relatório, e mostra\n"
        "o tempo de cada passo. Não precisa de ecrã: sem QT_QPA_PLATFORM pinta fora do ecrã.\n";
    long lines = 100000;
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--lines") {
        char* end = nullptr;
        lines = std::strtol(argv[2], &end, 10);
        if (end == argv[2] || *end != '\0' || lines < 100) argc = -1;
    }
    if (argc != 1 && argc != 3) {
        std::fprintf(stderr, "report_grid_bench: argumentos inválidos\n\n%s", usage);
        return 2;
    }
    // The grid is painted into an image, never shown on a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    using namespace talvers;
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
