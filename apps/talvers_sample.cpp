// talvers-sample: writes the sample ERP (main database, external database and the settings
// file that points at both) into a folder, for demonstrations and benchmarks. --help and
// --version answer on stdout with status 0; a usage error gives the usage on stderr and 1.
#include <chrono>
#include <clocale>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "sample/sample_generator.h"
#include "shell/cli/command_options.h"
#include "version.h"

namespace {

using talvers::OptionSpec;
using talvers::UsageError;

constexpr std::string_view kProgram = "talvers-sample";

constexpr OptionSpec kOptions[] = {
    {"--out", "PASTA", "a pasta onde escrever erp.db, externa.db e Talvers.qor", "", true},
    {"--seed", "N", "a semente dos dados gerados (a mesma semente dá os mesmos dados)", "1"},
    {"--lines", "N", "o número de linhas de encomendas de cliente, de 100 a 10000000", "2000"},
    {"--today", "AAAA-MM-DD", "a data de referência dos documentos", "hoje"},
    {"--variant", "default|alternate", "a variante da empresa", "default"},
};

constexpr talvers::CommandSyntax kSyntax{
    "", "", "Escreve a base de dados de exemplo e o ficheiro de definições que a usa.", kOptions};

void printUsage(std::ostream& out) {
    out << "Utilização:\n";
    talvers::printCommandUsage(out, kProgram, kSyntax);
    out << "\nOpções gerais:\n"
        << "  -h, --help    mostra esta ajuda e termina\n"
        << "  --version     mostra o nome e a versão do programa e termina\n";
}

std::optional<unsigned long long> wholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 19) return std::nullopt;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    return std::stoull(text);
}

talvers::SampleOptions parseOptions(const std::vector<std::string>& args) {
    const talvers::CommandOptions given(args, kOptions);
    given.requirePositional(0, "apenas as opções indicadas");
    talvers::SampleOptions options;
    options.today = talvers::DateTime::today();
    const auto out = given.value("--out");
    if (!out || out->empty()) throw UsageError("Falta a pasta de destino (--out).");
    options.outDir = *out;
    if (const auto value = given.value("--seed")) {
        const auto seed = wholeNumber(*value);
        if (!seed) throw UsageError("Semente inválida: " + *value + ".");
        options.seed = *seed;
    }
    if (const auto value = given.value("--lines")) {
        const auto lines = wholeNumber(*value);
        if (!lines || *lines < 100 || *lines > 10000000) {
            throw UsageError("Número de linhas inválido: " + *value +
                             " (deve estar entre 100 e 10000000).");
        }
        options.lines = static_cast<long>(*lines);
    }
    if (const auto value = given.value("--today")) {
        const auto today = talvers::DateTime::parse(*value);
        if (!today || value->size() != 10) {
            throw UsageError("Data inválida: " + *value + " (formato AAAA-MM-DD).");
        }
        options.today = *today;
    }
    if (const auto value = given.value("--variant")) {
        if (*value != "default" && *value != "alternate") {
            throw UsageError("Variante inválida: " + *value + " (default ou alternate).");
        }
        options.alternateVariant = *value == "alternate";
    }
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
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (talvers::wantsHelp(args)) {
        printUsage(std::cout);
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << kProgram << ' ' << TALVERS_VERSION_MAJOR << '.' << TALVERS_VERSION_MINOR << '.'
                  << TALVERS_VERSION_PATCH << '\n';
        return 0;
    }
    try {
        const talvers::SampleOptions options = parseOptions(args);
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
        std::cerr << e.what() << "\n";
        printUsage(std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "Erro: " << e.what() << "\n";
    }
    return 1;
}
