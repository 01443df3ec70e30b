// The report window against the command line on the same data: generates a sample, runs
// `talvers-report pendentes` on it in a process of its own, then runs the pending-orders window
// (frmTalvers, offscreen) from Confirmar to the end of its run — query, workbook written on the
// run's worker, grid filled and painted — with the file name answered at once, so that no time
// waits on a dialog. Prints the best and the median of each and the window's ratio to the
// command line. Usage: report_window_bench [--lines N] [--repeat R] [--report PATH] (--help).
#include <QApplication>
#include <QSignalSpy>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "reports/pending/pending_window.h"
#include "sample/sample_generator.h"
#include "shell/dataaccess/sqlite/sqlite_connection.h"
#include "shell/startup.h"
#include "tests/support/recording_presenter.h"

namespace {

namespace fs = std::filesystem;

const char* kUsage =
    "Uso: report_window_bench [--lines N] [--repeat R] [--report CAMINHO]\n"
    "\n"
    "Gera uma amostra de N linhas (por omissão 100000) e corre R vezes (por omissão 3), com os\n"
    "mesmos dados, o relatório de encomendas pendentes: pelo talvers-report (CAMINHO; por\n"
    "omissão ../apps/talvers-report ao lado deste programa) num processo próprio, e pela\n"
    "janela frmTalvers fora do ecrã, de Confirmar ao fim da execução (consulta, livro gravado,\n"
    "grelha preenchida e pintada; o nome do ficheiro é dado de imediato). Mostra o melhor e a\n"
    "mediana de cada um e a razão janela / linha de comandos.\n";

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Times {
    std::vector<double> runs;
    double best() const { return *std::min_element(runs.begin(), runs.end()); }
    double median() const {
        std::vector<double> sorted = runs;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
};

class ImmediateFileName : public talvers::FileNameProvider {
  public:
    explicit ImmediateFileName(std::string name) : name_(std::move(name)) {}
    std::string chooseFileName(std::string_view) override { return name_; }

  private:
    std::string name_;
};

class NoOpener : public talvers::FileOpener {
  public:
    bool open(const std::string&) override { return true; }
};

bool readCount(const char* text, long smallest, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= smallest;
}

}  // namespace

int main(int argc, char* argv[]) {
    long lines = 100000;
    long repeat = 3;
    fs::path report = fs::path(argv[0]).parent_path() / ".." / "apps" / "talvers-report";
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        const bool valued = i + 1 < argc;
        if (option == "--lines" && valued && readCount(argv[i + 1], 100, lines)) {
            ++i;
        } else if (option == "--repeat" && valued && readCount(argv[i + 1], 1, repeat)) {
            ++i;
        } else if (option == "--report" && valued) {
            report = argv[++i];
        } else {
            std::fprintf(stderr, "report_window_bench: argumento inválido: %s\n\n%s", argv[i],
                         kUsage);
            return 2;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    using namespace talvers;
    const fs::path root = fs::temp_directory_path() / "talvers-window-bench";
    fs::remove_all(root);
    SampleOptions options;
    options.outDir = root;
    options.lines = lines;
    options.today = DateTime::today();
    generateSample(options);
    const fs::path settings = root / "Talvers.qor";
    const fs::path cliOut = root / "linha.xlsx";
    const fs::path windowOut = root / "janela.xlsx";

    Times cli;
    Times window;
    for (long r = 0; r < repeat; ++r) {
        const std::string command = "\"" + report.string() + "\" pendentes --settings \"" +
                                    settings.string() + "\" --output \"" + cliOut.string() + "\"";
        auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "report_window_bench: o talvers-report falhou\n");
            return 1;
        }
        cli.runs.push_back(secondsSince(start));

        // The window opens its session as the desktop program does.
        Session session = startUp(readAppSettings(settings));
        testing::RecordingPresenter messages;
        ImmediateFileName files(windowOut.string());
        NoOpener opener;
        ReportWindowServices services;
        services.messages = &messages;
        services.files = &files;
        services.opener = &opener;
        frmTalvers pending(ErpSession{*session.bd, *session.bdExt, session.companyVariant},
                           services);
        pending.show();
        QApplication::processEvents();
        QSignalSpy finished(&pending, &ReportWindow::runFinished);
        start = std::chrono::steady_clock::now();
        pending.confirm();
        while (finished.count() == 0) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        pending.grab();  // the grid's first paint
        window.runs.push_back(secondsSince(start));
        if (!messages.shown.empty()) {
            std::fprintf(stderr, "report_window_bench: a janela disse: %s\n",
                         messages.shown.front().text.c_str());
            return 1;
        }
    }
    std::printf("pendentes, %ld linhas, %ld vezes:\n", lines, repeat);
    std::printf("  talvers-report  melhor %.2f s  mediana %.2f s\n", cli.best(), cli.median());
    std::printf("  janela          melhor %.2f s  mediana %.2f s\n", window.best(),
                window.median());
    std::printf("  janela / linha de comandos: melhor %.2f  mediana %.2f\n",
                window.best() / cli.best(), window.median() / cli.median());
    fs::remove_all(root);
    return 0;
}
