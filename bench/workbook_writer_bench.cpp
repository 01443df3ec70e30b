// Times the report workbook writer against a bare libxlsxwriter loop that writes the same
// cells with the same formats in constant-memory mode, on rows shaped like the pending
// customer-orders report (13 texts, 4 money values), and measures the peak memory of each
// in a separate child process. The writer is timed whole (private folder, read-back check,
// flush and rename) and without the read-back check, and the check is timed alone. Last, the
// peak disk space a replace takes beside the workbook and in the temporary folder.
//
//   workbook_writer_bench [rows ...]      (default: 10000 100000; --help explains)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "bench/bare_workbook.h"
#include "shell/files/open_file.h"
#include "shell/messages/console_presenter.h"
#include "shell/workbook/workbook_columns.h"
#include "shell/workbook/workbook_file.h"
#include "shell/workbook/workbook_readback.h"
#include "shell/workbook/workbook_writer.h"

namespace {

using namespace talvers;
namespace fs = std::filesystem;

constexpr int kRepeats = 5;

Table pendingOrdersLike(int rowCount) {
    Table table({{"Doc.", FieldType::Text, 20},
                 {"Nome Vendedor", FieldType::Text, 30},
                 {"Data", FieldType::Text, 15},
                 {"Cliente", FieldType::Text, 20},
                 {"Nome Cliente", FieldType::Text, 80},
                 {"Artigo", FieldType::Text, 15},
                 {"Valor", FieldType::Money, 0},
                 {"Nome Fornecedor", FieldType::Text, 80},
                 {"Quant.", FieldType::Money, 0},
                 {"Stock Disp.", FieldType::Money, 0},
                 {"Stock Real", FieldType::Money, 0},
                 {"OBS", FieldType::Text, 100},
                 {"Separado", FieldType::Text, 40},
                 {"Enc Cli Lx", FieldType::Text, 20},
                 {"Cli Lx", FieldType::Text, 80},
                 {"Enc Forn", FieldType::Text, 100},
                 {"Guia Forn", FieldType::Text, 100}});
    for (int i = 0; i < rowCount; ++i) {
        const std::string n = std::to_string(i);
        table.addRow({"ECL/2024/A/" + n + "/1", "Vendedor " + std::to_string(i % 17), " 2024-05-13",
                      " " + std::to_string(1000 + i % 900), "Cliente Exportação Ld.ª n.º " + n,
                      "ART" + std::to_string(i % 5000), Money::fromTicks(i * 12345LL),
                      "Fornecedor Águas & Cª " + n, Money::fromTicks(10000LL * (i % 40)),
                      Money::fromTicks(-i * 7LL), Money::fromTicks(i * 3LL),
                      i % 4 ? "" : "Entregar de manhã", i % 3 ? "" : "Separado 2024-05-14",
                      "ECL/2023/L/" + n, "Cliente Lisboa " + n, i % 5 ? "" : "EFO/2024/A/77 (3)",
                      i % 7 ? "" : "GR/2024/A/12 (1)"});
    }
    return table;
}

const std::vector<std::string> kSheets = {"Encomendas Pendentes"};
const std::vector<std::string> kTitles = {"Encomendas pendentes a 13-05-2024"};

bool writeOurs(const Table& rows, const fs::path& file) {
    ConsolePresenter presenter(std::cerr);
    return writeWorkbook(kSheets, kTitles, file.string(), rows, presenter);
}

// The writer's own layout and cells straight into the file: no private folder, no read-back
// check, no flush or rename.
std::vector<SheetDigest> writeUnchecked(const Table& rows, const fs::path& file) {
    return writeWorkbookFile(file.string(), file.parent_path().string(), file.string(), kSheets,
                             kTitles, rows, {});
}

// The same layout written straight through the library.
bool writeBare(const Table& rows, const fs::path& file) {
    return writeBareWorkbook(rows, file.string(), "Encomendas Pendentes",
                             "Encomendas pendentes a 13-05-2024");
}

using Writer = std::function<bool(const Table&, const fs::path&)>;
using Step = std::function<bool()>;

struct Timing {
    double wall = 0;
    double cpu = 0;  // less disturbed than wall time when other work shares the machine
};

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

Timing timingOf(const Step& step, const char* what) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = cpuSeconds();
    if (!step()) {
        std::fprintf(stderr, "%s failed\n", what);
        std::exit(1);
    }
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            cpuSeconds() - cpuStart};
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Peak memory of one write in a fresh child process: before writing (the table alone) and
// after.
void measureMemory(const char* name, const Writer& write, int rowCount, const fs::path& file) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        const Table rows = pendingOrdersLike(rowCount);
        const long before = peakKilobytes();
        write(rows, file);
        const long after = peakKilobytes();
        std::printf(
            "  %-6s %7d rows: peak %6ld KB with the table, %6ld KB after writing "
            "(+%ld KB)\n",
            name, rowCount, before, after, after - before);
        std::fflush(stdout);
        std::_Exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

// The disk space the files under `folder` take: those named there and those a process holds
// open after removing their names (as the workbook library does with its temporaries), each
// counted once.
std::uintmax_t bytesUnder(const fs::path& folder) {
    std::map<std::pair<dev_t, ino_t>, std::uintmax_t> files;
    const auto add = [&files](const fs::path& path) {
        struct stat info {};
        if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            files[{info.st_dev, info.st_ino}] = static_cast<std::uintmax_t>(info.st_blocks) * 512;
        }
    };
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        add(it->path());
    }
    const std::string prefix = folder.string() + "/";
    for (const auto& entry : fs::directory_iterator("/proc/self/fd", error)) {
        std::error_code unreadable;
        const std::string target = fs::read_symlink(entry.path(), unreadable).string();
        if (!unreadable && target.rfind(prefix, 0) == 0) add(entry.path());
    }
    std::uintmax_t total = 0;
    for (const auto& [file, bytes] : files) total += bytes;
    return total;
}

// The most space the files under each of `folders` took at once while `step` ran, sampled
// every millisecond.
std::vector<std::uintmax_t> peakSpace(const std::vector<fs::path>& folders,
                                      const std::function<void()>& step) {
    std::vector<std::uintmax_t> peaks(folders.size());
    std::atomic<bool> done{false};
    std::thread sampler([&] {
        while (!done.load()) {
            for (size_t i = 0; i < folders.size(); ++i) {
                peaks[i] = std::max(peaks[i], bytesUnder(folders[i]));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    step();
    done = true;
    sampler.join();
    return peaks;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The medians of the runs of each way of writing.
struct Medians {
    std::vector<double> wall;
    std::vector<double> cpu;
    void add(const Timing& t) {
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
    }
};

}  // namespace

int main(int argc, char** argv) {
    const char* usage =
        "Uso: workbook_writer_bench [LINHAS ...]\n"
        "\n"
        "Escreve um livro de LINHAS linhas de 17 células (como as do relatório de encomendas\n"
        "pendentes; por omissão 10000 e 100000) com o escritor do programa e com a escrita\n"
        "simples da libxlsxwriter, e mostra o pico de memória e o tempo de cada um: a escrita\n"
        "inteira, sem a verificação do que foi escrito, e a verificação sozinha; e o pico de\n"
        "espaço em disco ao substituir um livro, ao lado dele e na pasta temporária (TMPDIR).\n";
    std::vector<int> rowCounts;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(usage, stdout);
            return 0;
        }
        char* end = nullptr;
        const long count = std::strtol(argv[i], &end, 10);
        if (end == argv[i] || *end != '\0' || count < 1 || count > 1000000) {
            std::fprintf(stderr, "workbook_writer_bench: número de linhas inválido: %s\n\n%s",
                         argv[i], usage);
            return 2;
        }
        rowCounts.push_back(static_cast<int>(count));
    }
    if (rowCounts.empty()) rowCounts = {10000, 100000};

    const fs::path folder =
        fs::temp_directory_path() / ("talvers-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const Writer ours = writeOurs;
    const Writer bare = writeBare;

    // Memory first, while this process is still small: each child starts from it.
    std::printf("Peak memory (ru_maxrss, one child process per run)\n");
    for (int count : rowCounts) {
        measureMemory("ours", ours, count, folder / "ours.xlsx");
        measureMemory("bare", bare, count, folder / "bare.xlsx");
    }

    std::printf("Time (median of %d alternating runs; cpu time is less disturbed by other work)\n",
                kRepeats);
    for (int count : rowCounts) {
        const Table rows = pendingOrdersLike(count);
        Medians whole, unchecked, check, plain;
        for (int i = 0; i < kRepeats; ++i) {
            const fs::path oursFile = folder / "ours.xlsx";
            const fs::path uncheckedFile = folder / "unchecked.xlsx";
            const fs::path bareFile = folder / "bare.xlsx";
            whole.add(timingOf([&] { return ours(rows, oursFile); }, "ours"));
            std::vector<SheetDigest> digests;
            unchecked.add(timingOf(
                [&] {
                    digests = writeUnchecked(rows, uncheckedFile);
                    return true;
                },
                "unchecked"));
            check.add(timingOf(
                [&] {
                    auto file = openFileForReading(uncheckedFile);
                    return workbookProblem(*file, digests, kSheets).empty();
                },
                "check"));
            plain.add(timingOf([&] { return bare(rows, bareFile); }, "bare"));
        }
        const auto line = [&](const char* name, const Medians& m) {
            const double wall = median(m.wall), cpu = median(m.cpu);
            std::printf("  %7d rows  %-22s wall %6.3f s %8.0f rows/s  x%.3f   cpu %6.3f s  x%.3f\n",
                        count, name, wall, count / wall, wall / median(plain.wall), cpu,
                        cpu / median(plain.cpu));
        };
        line("bare libxlsxwriter", plain);
        line("ours without the check", unchecked);
        line("ours whole", whole);
        line("the check alone", check);
        std::printf("  %7d rows  file %ju bytes\n", count,
                    static_cast<std::uintmax_t>(fs::file_size(folder / "ours.xlsx")));
    }

    // Replacing a workbook needs room beside it for the new one only: the library's
    // temporaries go to the temporary folder.
    std::printf("Peak disk space while replacing a workbook (sampled every millisecond)\n");
    const fs::path target = folder / "destino";
    const fs::path temporary = folder / "tmp";
    fs::create_directories(target);
    fs::create_directories(temporary);
    setenv("TMPDIR", temporary.c_str(), 1);
    for (int count : rowCounts) {
        const Table rows = pendingOrdersLike(count);
        const fs::path file = target / "ours.xlsx";
        writeOurs(rows, file);
        const std::vector<std::uintmax_t> peaks =
            peakSpace({target, temporary}, [&] { writeOurs(rows, file); });
        const double size = static_cast<double>(fs::file_size(file));
        std::printf("  %7d rows  workbook %9.0f bytes   beside it %10ju bytes (x%.2f)   "
                    "TMPDIR %10ju bytes (x%.2f)\n",
                    count, size, peaks[0], static_cast<double>(peaks[0]) / size, peaks[1],
                    static_cast<double>(peaks[1]) / size);
    }
    fs::remove_all(folder);
    return 0;
}
