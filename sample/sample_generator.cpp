#include "sample/sample_generator.h"

#include <fstream>
#include <stdexcept>

#include "sample/erp_schema.h"
#include "sample/sample_catalog.h"
#include "sample/sample_customer_orders.h"
#include "sample/sample_sales.h"
#include "sample/sample_serial_scenario.h"
#include "sample/sample_supplier_documents.h"
#include "shell/platform/utf8_path.h"

namespace talvers {
namespace {

constexpr long kMinLines = 100;
constexpr long kMaxLines = 10000000;

// How a SQLite database defines its own document-key function (see the SQLite backend): a
// view named after it, the keys of the open supplier-order lines of each article.
constexpr const char* kLineLevelSupplierOrderKeys =
    "CREATE VIEW qor_LinhaParaString_chaves AS SELECT l.Artigo AS Artigo, "
    "c.TpDoc||'/'||c.Ano||'/'||c.Serie||'/'||c.NNumDoc||'/'||l.NumLinha AS Chave "
    "FROM DOCGCLIN AS l INNER JOIN DOCGCCAB AS c ON c.NNUMDOC = l.NNUMDOC AND "
    "c.TPDOC = l.TPDOCUM AND c.SERIE = l.SERIE AND c.ANO = l.ANO WHERE c.nvias<>-1 AND "
    "c.areag=2 AND c.Tpterc=1 AND l.quant>0 AND l.[convert]<>-1 AND l.ARTIGO >''";

bool isTaxpayerNumber(const std::string& text) {
    if (text.size() != 9) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

void validate(const SampleOptions& options) {
    if (options.outDir.empty()) throw std::invalid_argument("Falta a pasta de destino.");
    if (options.lines < kMinLines || options.lines > kMaxLines) {
        throw std::invalid_argument("O número de linhas deve estar entre " +
                                    std::to_string(kMinLines) + " e " + std::to_string(kMaxLines) +
                                    ".");
    }
    const DateTime& t = options.today;
    if (!DateTime::isValidDate(t.year, t.month, t.day) || t.year < 1902) {
        throw std::invalid_argument("A data de referência não é válida.");
    }
    if (!isTaxpayerNumber(options.variantTaxpayer)) {
        throw std::invalid_argument("O contribuinte da variante deve ter nove algarismos.");
    }
}

// Another nine-digit number than the variant's, for the default company.
std::string companyTaxpayer(const SampleOptions& options) {
    if (options.alternateVariant) return options.variantTaxpayer;
    return options.variantTaxpayer == "501234567" ? "509876543" : "501234567";
}

void writeSettings(const std::filesystem::path& file, const SampleOptions& options) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << "[Ligação]\nMotor=sqlite\nEmpresa=erp.db\n"
           "[LigaçãoExterna]\nMotor=sqlite\nEmpresa=externa.db\n"
           "[Talvers]\nContribuinteVariante="
        << options.variantTaxpayer << "\n";
    out.close();
    if (!out) throw std::runtime_error("Não foi possível escrever " + utf8FromPath(file) + ".");
}

void writeData(const SampleOptions& options, SampleDatabase& main, SampleDatabase& external) {
    SampleRandom random(options.seed);
    SampleCatalog catalog = buildSampleCatalog(random, options.lines);
    {
        SampleDocumentWriter documents(main);
        writeSampleCustomerOrders(catalog, options.today, options.lines, random, documents, main,
                                  external);
        writeSampleSupplierDocuments(catalog, options.today, options.lines, random, documents,
                                     main);
        writeSampleSales(catalog, options.today, options.lines, random, documents);
        writeSampleSerialScenario(catalog, options.today, documents, main);
    }
    writeSampleCatalog(catalog, options.today, random, main, external);
    // The variant company's database has its own qor_LinhaParaString, one that lists line-level
    // keys (type/year/series/number/line), so the supplier-order notes can be found.
    if (options.alternateVariant) main.execute(kLineLevelSupplierOrderKeys);
    auto company = main.insert("INSERT INTO EMPRESA (NOME, NumContr) VALUES (?,?)");
    company.row({"Distribuidora Exemplo, Lda.", companyTaxpayer(options)});
}

std::filesystem::path temporaryName(const std::filesystem::path& file) {
    std::filesystem::path temporary = file;
    return temporary += ".tmp";
}

// Moves the new file into place. The old database's journal files would otherwise be taken
// by SQLite as belonging to the new one.
void replaceFile(const std::filesystem::path& file) {
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        std::filesystem::path journal = file;
        std::filesystem::remove(journal += suffix);
    }
    std::filesystem::rename(temporaryName(file), file);
}

}  // namespace

SampleResult generateSample(const SampleOptions& options) {
    validate(options);
    SampleResult result;
    result.mainDatabase = options.outDir / "erp.db";
    result.externalDatabase = options.outDir / "externa.db";
    result.settingsFile = options.outDir / "Talvers.qor";
    const std::filesystem::path files[] = {result.mainDatabase, result.externalDatabase,
                                           result.settingsFile};
    const auto removeTemporaries = [&] {
        for (const auto& file : files) {
            std::error_code ignored;
            std::filesystem::remove(temporaryName(file), ignored);
        }
    };
    try {
        std::filesystem::create_directories(options.outDir);
        {
            SampleDatabase main(temporaryName(result.mainDatabase), erpMainSchemaSql());
            SampleDatabase external(temporaryName(result.externalDatabase), erpExternalSchemaSql());
            writeData(options, main, external);
            result.mainCounts = main.finish();
            result.externalCounts = external.finish();
        }
        writeSettings(temporaryName(result.settingsFile), options);
        for (const auto& file : files) replaceFile(file);
    } catch (const std::filesystem::filesystem_error& e) {
        removeTemporaries();
        throw std::runtime_error("Não foi possível escrever os dados de exemplo em " +
                                 utf8FromPath(options.outDir) + ": " + e.code().message());
    } catch (...) {
        removeTemporaries();
        throw;
    }
    return result;
}

}  // namespace talvers
