// talvers-sample: writes the sample ERP (main database, external database and the settings
// file that points at both) into a folder, for demonstrations and benchmarks. --help and
// --version answer on stdout with status 0; a usage error is one line on stderr and 1.
#include <chrono>
#include <clocale>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "apps/sample_program.h"
#include "sample/sample_generator.h"
#include "shell/cli/command_options.h"
#include "shell/files/stop_signals.h"
#include "shell/cli/program_run.h"
#include "shell/messages/program_message.h"
#include "shell/platform/program_main.h"
#include "shell/platform/utf8_path.h"
#include "version.h"

namespace {

using talvers::UsageError;

constexpr std::string_view kProgram = "talvers-sample";

std::optional<unsigned long long> wholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 19) return std::nullopt;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    return std::stoull(text);
}

talvers::SampleOptions parseOptions(const std::vector<std::string>& args) {
    const talvers::CommandOptions given(args, talvers::sampleProgram().commands.front()->options);
    given.requirePositional(0, "apenas as opções indicadas");
    talvers::SampleOptions options;
    options.today = talvers::DateTime::today();
    const auto out = given.value("--out");
    if (!out || out->empty()) throw UsageError("Falta a pasta de destino (--out).");
    options.outDir = talvers::pathFromUtf8(*out);
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

int talvers::runProgram(const std::vector<std::string>& arguments) {
    talvers::ignoreFileSizeLimitSignal();
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    const std::vector<std::string> args(arguments.begin() + 1, arguments.end());
    const std::string version = std::to_string(TALVERS_VERSION_MAJOR) + '.' +
                                std::to_string(TALVERS_VERSION_MINOR) + '.' +
                                std::to_string(TALVERS_VERSION_PATCH);
    if (const auto answered =
            talvers::answerGeneralOptions(talvers::sampleProgram(), args, version, false)) {
        return *answered;
    }
    try {
        const talvers::SampleOptions options = parseOptions(args);
        const auto start = std::chrono::steady_clock::now();
        const talvers::SampleResult result = talvers::generateSample(options);
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        using talvers::utf8FromPath;
        std::cout << "Base de dados principal: " << utf8FromPath(result.mainDatabase) << "\n"
                  << "Base de dados externa: " << utf8FromPath(result.externalDatabase) << "\n"
                  << "Configuração: " << utf8FromPath(result.settingsFile) << "\n"
                  << "Data de referência " << options.today.isoDate() << ", semente "
                  << options.seed << ", variante "
                  << (options.alternateVariant ? "alternativa" : "normal") << ", "
                  << elapsed.count() << " ms.\n"
                  << "Registos por tabela:\n";
        printCounts("erp.db", result.mainCounts);
        printCounts("externa.db", result.externalCounts);
        return talvers::finishedStatus(kProgram, 0);
    } catch (const UsageError& e) {
        return talvers::reportUsageError(kProgram, kProgram, e.what());
    } catch (const std::exception& e) {
        std::cerr << talvers::programMessage(kProgram, std::string("Erro: ") + e.what()) << "\n";
    }
    return 1;
}
