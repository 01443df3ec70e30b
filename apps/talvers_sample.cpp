// talvers-sample: writes the sample ERP (main database, external database and the settings
// file that points at both) into a folder, for demonstrations and benchmarks.
#include <chrono>
#include <clocale>
#include <ctime>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>

#include "sample/sample_generator.h"

namespace {

const char* const kUsage =
    "Utilização: talvers-sample --out PASTA [--seed N] [--lines N] [--today AAAA-MM-DD]"
    " [--variant default|alternate]";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::optional<unsigned long long> wholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 19) return std::nullopt;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    return std::stoull(text);
}

talvers::DateTime localToday() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday};
}

talvers::SampleOptions parseOptions(int argc, char** argv) {
    talvers::SampleOptions options;
    options.today = localToday();
    bool haveOut = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name != "--out" && name != "--seed" && name != "--lines" && name != "--today" &&
            name != "--variant") {
            throw UsageError("Opção desconhecida: " + name + ".");
        }
        if (i + 1 >= argc) throw UsageError("Falta o valor da opção " + name + ".");
        const std::string value = argv[++i];
        if (name == "--out") {
            options.outDir = value;
            haveOut = !value.empty();
        } else if (name == "--seed") {
            const auto seed = wholeNumber(value);
            if (!seed) throw UsageError("Semente inválida: " + value + ".");
            options.seed = *seed;
        } else if (name == "--lines") {
            const auto lines = wholeNumber(value);
            if (!lines || *lines < 100 || *lines > 10000000) {
                throw UsageError("Número de linhas inválido: " + value +
                                 " (deve estar entre 100 e 10000000).");
            }
            options.lines = static_cast<long>(*lines);
        } else if (name == "--today") {
            const auto today = talvers::DateTime::parse(value);
            if (!today || value.size() != 10) {
                throw UsageError("Data inválida: " + value + " (formato AAAA-MM-DD).");
            }
            options.today = *today;
        } else {
            if (value != "default" && value != "alternate") {
                throw UsageError("Variante inválida: " + value + " (default ou alternate).");
            }
            options.alternateVariant = value == "alternate";
        }
    }
    if (!haveOut) throw UsageError("Falta a pasta de destino (--out).");
    return options;
}

void printCounts(const char* file, const std::vector<talvers::SampleTableCount>& counts) {
    for (const auto& count : counts) {
        std::cout << "  " << file << "  " << count.table << ": " << count.rows << "\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    try {
        const talvers::SampleOptions options = parseOptions(argc, argv);
        const auto start = std::chrono::steady_clock::now();
        const talvers::SampleResult result = talvers::generateSample(options);
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        std::cout << "Base de dados principal: " << result.mainDatabase.string() << "\n"
                  << "Base de dados externa: " << result.externalDatabase.string() << "\n"
                  << "Configuração: " << result.settingsFile.string() << "\n"
                  << "Data de referência " << options.today.isoDate() << ", semente "
                  << options.seed << ", variante "
                  << (options.alternateVariant ? "alternativa" : "normal") << ", "
                  << elapsed.count() << " ms.\n"
                  << "Registos por tabela:\n";
        printCounts("erp.db", result.mainCounts);
        printCounts("externa.db", result.externalCounts);
        return 0;
    } catch (const UsageError& e) {
        std::cerr << e.what() << "\n" << kUsage << "\n";
    } catch (const std::exception& e) {
        std::cerr << "Erro: " << e.what() << "\n";
    }
    return 1;
}
