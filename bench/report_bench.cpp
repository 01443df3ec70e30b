// Runs every report on generated samples and prints, per report and way of fetching lookups,
// the rows, the statements sent on each connection and the wall time, also with a simulated
// network round trip per statement; or, with --end-to-end, each report as the program runs it
// (open both databases, run, write the workbook) against a bare libxlsxwriter write of the
// same cells in the same run, with the peak memory. See usage() below.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "bench/bare_workbook.h"
#include "bench/delayed_connection.h"
#include "reports/frame/report_progress.h"
#include "reports/pending/pending_orders.h"
#include "reports/provisioning/provisioning.h"
#include "reports/supplier/orders_by_supplier.h"
#include "sample/sample_generator.h"
#include "shell/dataaccess/money.h"
#include "shell/dataaccess/sqlite/sqlite_connection.h"
#include "shell/messages/console_presenter.h"
#include "shell/workbook/workbook_writer.h"
#include "utility/serial_check.h"

namespace {

using namespace talvers;
namespace fs = std::filesystem;

const char* const kUsage =
    "Uso: report_bench [--lines N]... [--rtt-ms N]... [--budget-s S] [--ways LISTA]\n"
    "       report_bench --end-to-end [--lines N]... [--repeat R]\n"
    "\n"
    "Gera amostras do ERP com N linhas (por omissão 10000) nas duas variantes e corre\n"
    "cada relatório nelas.\n"
    "\n"
    "Sem --end-to-end: por relatório e por forma de obter as consultas (LISTA: conjunto,\n"
    "blocos e/ou linha separados por vírgulas; por omissão as três) mostra as linhas, as\n"
    "instruções enviadas a cada ligação e o tempo, também com uma ida e volta simulada de N ms\n"
    "por instrução (--rtt-ms, por omissão 0 1 20). Uma corrida cujas esperas passariam S\n"
    "segundos (--budget-s, por omissão 60) é projetada e marcada com \"proj.\".\n"
    "\n"
    "Com --end-to-end: cada relatório como o programa o corre (abrir as duas bases, correr,\n"
    "escrever o livro), num processo seu, contra a escrita simples das mesmas células com a\n"
    "libxlsxwriter, medida na mesma corrida; a razão entre os dois tempos e o pico de memória\n"
    "do processo (total e por linha do relatório). Cada escrita é feita duas vezes, alternadas,\n"
    "e conta a mais rápida; cada número é a mediana de R corridas (por omissão 3).\n";

using Report = std::function<Table(const ErpSession&)>;

struct Named {
    const char* name;
    bool alternate;
    Report report;
    ReportOutput output;
};

struct Options {
    std::vector<long> lines;
    std::vector<long> rtts;
    double budget = 60;
    std::vector<LookupMode> ways;
    bool endToEnd = false;
    int repeat = 3;
};

[[noreturn]] void usageError(const std::string& problem) {
    std::fprintf(stderr, "report_bench: %s\n\n%s", problem.c_str(), kUsage);
    std::exit(2);
}

long wholeNumber(const std::string& option, const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0) usageError(option + " espera um número");
    return value;
}

std::vector<LookupMode> waysFrom(const std::string& list) {
    std::vector<LookupMode> ways;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        const std::string way = list.substr(start, comma - start);
        if (way == "conjunto") {
            ways.push_back(LookupMode::SetBased);
        } else if (way == "blocos") {
            ways.push_back(LookupMode::Chunked);
        } else if (way == "linha") {
            ways.push_back(LookupMode::PerRow);
        } else {
            usageError("forma de consulta desconhecida: " + way);
        }
        start = comma + 1;
    }
    return ways;
}

Options parse(int argc, char* argv[]) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help" || name == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        }
        if (name == "--end-to-end") {
            o.endToEnd = true;
            continue;
        }
        if (i + 1 >= argc) usageError(name + " sem valor");
        const char* value = argv[++i];
        if (name == "--lines") {
            o.lines.push_back(wholeNumber(name, value));
        } else if (name == "--rtt-ms") {
            o.rtts.push_back(wholeNumber(name, value));
        } else if (name == "--budget-s") {
            o.budget = static_cast<double>(wholeNumber(name, value));
        } else if (name == "--repeat") {
            o.repeat = static_cast<int>(std::max(1L, wholeNumber(name, value)));
        } else if (name == "--ways") {
            o.ways = waysFrom(value);
        } else {
            usageError("opção desconhecida: " + name);
        }
    }
    if (o.lines.empty()) o.lines = {10000};
    if (o.rtts.empty()) o.rtts = {0, 1, 20};
    if (o.ways.empty()) o.ways = {LookupMode::SetBased, LookupMode::Chunked, LookupMode::PerRow};
    return o;
}

const char* wayName(LookupMode mode) {
    switch (mode) {
        case LookupMode::SetBased:
            return "conjunto";
        case LookupMode::Chunked:
            return "blocos";
        case LookupMode::PerRow:
            return "linha";
    }
    return "?";
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Runs `work` in a child process, so that its peak memory is its own and nothing it leaves
// behind weighs on the next measurement.
void inChild(const std::function<void()>& work) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        work();
        std::fflush(stdout);
        std::_Exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "report_bench: a measurement failed\n");
        std::exit(1);
    }
}

// --- statements and time per way ---

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
    m.seconds = secondsSince(start);
    m.rows = rows.rowCount();
    m.main = statements(main);
    m.external = statements(external);
    return m;
}

void statementTable(const Options& options, const fs::path& root,
                    const std::vector<Named>& reports) {
    std::printf("%-28s %-9s %7s %8s %8s", "report", "lookups", "rows", "main", "external");
    for (long rtt : options.rtts) std::printf("  %9s", (std::to_string(rtt) + " ms").c_str());
    std::printf("\n");
    for (const Named& r : reports) {
        for (const LookupMode mode : options.ways) {
            const fs::path folder = root / (r.alternate ? "alternate" : "default");
            const Measure local = run(folder, r.report, r.alternate, mode, 0);
            std::printf("%-28s %-9s %7zu %8ld %8ld", r.name, wayName(mode), local.rows, local.main,
                        local.external);
            for (long rtt : options.rtts) {
                const long total = local.main + local.external;
                if (rtt == 0) {
                    std::printf("  %7.2f s", local.seconds);
                } else if (static_cast<double>(total) * rtt / 1000.0 > options.budget) {
                    std::printf("  %7.0f s proj.", local.seconds + total * rtt / 1000.0);
                } else {
                    std::printf("  %7.2f s", run(folder, r.report, r.alternate, mode, rtt).seconds);
                }
            }
            std::printf("\n");
            std::fflush(stdout);
        }
    }
}

// --- end to end against the bare write ---

struct EndToEnd {
    size_t rows = 0;
    double engine = 0;     // open both databases and run the report, wall seconds
    double total = 0;      // and write the workbook
    double engineCpu = 0;  // CPU seconds of the engine
    double cpu = 0;        // and of the whole
    double bare = 0;       // the bare write of the same cells, wall and CPU seconds
    double bareCpu = 0;
    long peakKb = 0;   // the process's peak, after the workbook was written
    long startKb = 0;  // and when the run began
};

// One run in a child process (its peak memory is its own); the figures come back through a
// pipe.
EndToEnd endToEnd(const fs::path& root, const Named& r) {
    int channel[2];
    if (pipe(channel) != 0) std::exit(1);
    EndToEnd m;
    inChild([&] {
        close(channel[0]);
        const fs::path folder = root / (r.alternate ? "alternate" : "default");
        m.startKb = peakKilobytes();
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuSeconds();
        auto bd = SqliteConnection::open(folder / "erp.db");
        auto bdExt = SqliteConnection::open(folder / "externa.db");
        const Table rows = r.report({*bd, *bdExt, r.alternate});
        m.engine = secondsSince(start);
        m.engineCpu = cpuSeconds() - cpuStart;
        ConsolePresenter messages(std::cerr);
        const std::string title = r.output.titlePrefix + "01-06-2025";
        const auto ours = [&] {
            return writeWorkbook({r.output.sheetName}, {title}, (root / "ours.xlsx").string(), rows,
                                 messages);
        };
        const auto bare = [&] {
            return writeBareWorkbook(rows, (root / "bare.xlsx").string(), r.output.sheetName,
                                     title);
        };
        // Each write twice, alternating; the faster of each counts (the machine is shared).
        double book = 1e9, bookCpu = 1e9;
        m.bare = m.bareCpu = 1e9;
        for (int i = 0; i < 2; ++i) {
            const auto bookStart = std::chrono::steady_clock::now();
            const double bookCpuStart = cpuSeconds();
            if (!ours()) std::_Exit(1);
            book = std::min(book, secondsSince(bookStart));
            bookCpu = std::min(bookCpu, cpuSeconds() - bookCpuStart);
            if (i == 0) m.peakKb = peakKilobytes();
            const auto bareStart = std::chrono::steady_clock::now();
            const double bareCpuStart = cpuSeconds();
            if (!bare()) std::_Exit(1);
            m.bare = std::min(m.bare, secondsSince(bareStart));
            m.bareCpu = std::min(m.bareCpu, cpuSeconds() - bareCpuStart);
        }
        m.total = m.engine + book;
        m.cpu = m.engineCpu + bookCpu;
        m.rows = rows.rowCount();
        if (write(channel[1], &m, sizeof m) != static_cast<ssize_t>(sizeof m)) std::_Exit(1);
    });
    close(channel[1]);
    if (read(channel[0], &m, sizeof m) != static_cast<ssize_t>(sizeof m)) std::exit(1);
    close(channel[0]);
    return m;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median of `repeat` runs of each figure; the ratios are the medians of each run's ratio,
// the bare write measured right after the report in the same child.
void endToEndLine(const fs::path& root, const Named& r, int repeat) {
    std::vector<double> engine, book, total, cpu, bare, ratio, cpuRatio, peak, engineCpu, bookCpu,
        bareCpu;
    EndToEnd m;
    for (int i = 0; i < repeat; ++i) {
        m = endToEnd(root, r);
        engine.push_back(m.engine);
        book.push_back(m.total - m.engine);
        total.push_back(m.total);
        cpu.push_back(m.cpu);
        engineCpu.push_back(m.engineCpu);
        bookCpu.push_back(m.cpu - m.engineCpu);
        bareCpu.push_back(m.bareCpu);
        bare.push_back(m.bare);
        ratio.push_back(m.total / m.bare);
        cpuRatio.push_back(m.cpu / m.bareCpu);
        peak.push_back(static_cast<double>(m.peakKb));
    }
    const double rows = m.rows == 0 ? 1 : static_cast<double>(m.rows);
    std::printf(
        "%-28s %7zu %7.2f %7.2f %7.2f %7.2f %6.2fx | %7.2f %7.2f %7.2f %6.2fx | %7.0f %6.2f "
        "%6.2f\n",
        r.name, m.rows, median(engine), median(book), median(total), median(bare), median(ratio),
        median(engineCpu), median(bookCpu), median(bareCpu), median(cpuRatio),
        median(peak) / 1024.0, median(peak) / rows,
        (median(peak) - static_cast<double>(m.startKb)) / rows);
    std::fflush(stdout);
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
    const auto root =
        fs::temp_directory_path() / ("talvers-report-bench-" + std::to_string(getpid()));
    const DateTime today = DateTime::today();
    const auto pending = PendingOrdersRequest::defaults(today);
    const auto bySupplier = OrdersBySupplierRequest::defaults(today);
    const auto provisioning = ProvisioningRequest::defaults(today);
    NullProgress progress;
    const std::vector<Named> reports = {
        {"pendentes", false,
         [&](const ErpSession& s) { return runPendingOrders(s, pending, progress); },
         pendingOrdersOutput()},
        {"fornecedor (ExtrairBDC)", false,
         [&](const ErpSession& s) { return runOrdersBySupplier(s, bySupplier, progress); },
         ordersBySupplierOutput(false)},
        {"fornecedor (ExtrairDIID)", true,
         [&](const ErpSession& s) { return runOrdersBySupplier(s, bySupplier, progress); },
         ordersBySupplierOutput(true)},
        {"aprovisionamento (default)", false,
         [&](const ErpSession& s) { return runProvisioning(s, provisioning, progress); },
         provisioningOutput()},
        {"aprovisionamento (variante)", true,
         [&](const ErpSession& s) { return runProvisioning(s, provisioning, progress); },
         provisioningOutput()},
        {"series", false,
         [&](const ErpSession& s) {
             return runSerialCheck(
                 s, [](const std::string&) {}, userDecimalSeparator(), progress);
         },
         serialCheckOutput()},
    };
    for (const long lines : options.lines) {
        fs::remove_all(root);
        // Generated in a child, so that the memory the generator leaves does not count.
        inChild([&] {
            generate(root / "default", lines, false, today);
            generate(root / "alternate", lines, true, today);
        });
        std::printf("\n== %ld lines ==\n", lines);
        if (!options.endToEnd) {
            statementTable(options, root, reports);
            continue;
        }
        std::printf("%-28s %7s %31s %6s | %23s %6s | %7s %6s %6s\n", "", "",
                    "wall seconds: engine book total bare", "ratio", "CPU: engine book bare",
                    "ratio", "peak MB", "KB/row", "+KB/row");
        for (const Named& r : reports) endToEndLine(root, r, options.repeat);
    }
    fs::remove_all(root);
    return 0;
}
