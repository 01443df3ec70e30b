// Every report, fetched the three ways (one JSON key table per lookup, chunked VALUES key
// tables, per row), on generated samples of several seeds and sizes and in both company
// variants, must give the same table cell by cell; the JSON way sends the same number of
// statements at every size.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

#include "reports/pending/pending_orders.h"
#include "reports/pending/pending_orders_sql.h"
#include "reports/provisioning/provisioning.h"
#include "reports/supplier/orders_by_supplier.h"
#include "sample/sample_generator.h"
#include "shell/dataaccess/sqlite/sqlite_connection.h"
#include "tests/support/temp_dir.h"
#include "utility/serial_check.h"

namespace talvers {
namespace {

struct Sample {
    uint64_t seed;
    long lines;
    bool alternate;
};

class LookupModesTest : public ::testing::TestWithParam<Sample> {
  protected:
    void SetUp() override {
        SampleOptions options;
        options.outDir = dir_.path();
        options.seed = GetParam().seed;
        options.lines = GetParam().lines;
        options.today = kToday;
        options.alternateVariant = GetParam().alternate;
        generateSample(options);
        bd_ = SqliteConnection::open(dir_.path() / "erp.db");
        bdExt_ = SqliteConnection::open(dir_.path() / "externa.db");
    }

    long count(const std::string& sql) {
        return static_cast<long>(*bd_->query("select count(*) as n " + sql).at(0, 0).toInteger());
    }

    static void expectSameTables(const Table& setBased, const Table& perRow) {
        ASSERT_EQ(setBased.rowCount(), perRow.rowCount());
        ASSERT_GT(setBased.rowCount(), 0u);
        for (size_t r = 0; r < setBased.rowCount(); ++r) {
            for (size_t c = 0; c < setBased.fieldCount(); ++c) {
                ASSERT_EQ(setBased.at(r, c), perRow.at(r, c))
                    << "row " << r + 1 << ", " << setBased.fields()[c].name;
            }
        }
    }

    const DateTime kToday{2026, 12, 9};
    const DateTime kStart = kToday.oneYearEarlier();
    testing::TempDir dir_;
    std::unique_ptr<Connection> bd_;
    std::unique_ptr<Connection> bdExt_;
    NullProgress progress_;
};

TEST_P(LookupModesTest, EveryReportGivesTheSameRowsTheThreeWays) {
    const auto statements = [&] { return bd_->queriesSent() + bdExt_->queriesSent(); };
    struct Run {
        Table rows;
        long statements;
    };
    const auto pending = [&](LookupMode mode) {
        const long before = statements();
        Table rows = runPendingOrders({*bd_, *bdExt_, false, mode}, {kStart}, progress_);
        return Run{std::move(rows), statements() - before};
    };
    const auto supplier = [&](LookupMode mode) {
        const long before = statements();
        Table rows =
            runOrdersBySupplier({*bd_, *bdExt_, GetParam().alternate, mode}, {kStart}, progress_);
        return Run{std::move(rows), statements() - before};
    };
    const auto serials = [&](LookupMode mode) {
        const long before = statements();
        std::string messages;
        Table findings = runSerialCheck(
            {*bd_, *bdExt_, false, mode}, [&](const std::string& m) { messages += m + "|"; }, ',',
            progress_);
        findings.addRow({messages});  // the messages must match too
        return Run{std::move(findings), statements() - before};
    };
    struct Report {
        std::function<Run(LookupMode)> run;
        long jsonStatements;  // the main query and one statement per lookup
    };
    const Report reports[] = {
        {pending, 1 + 5}, {supplier, GetParam().alternate ? 1 + 4 : 1 + 3}, {serials, 1 + 6}};
    for (const Report& report : reports) {
        const Run perRow = report.run(LookupMode::PerRow);
        const Run json = report.run(LookupMode::SetBased);
        const Run chunked = report.run(LookupMode::Chunked);
        expectSameTables(json.rows, perRow.rows);
        expectSameTables(chunked.rows, perRow.rows);
        EXPECT_EQ(json.statements, report.jsonStatements);
        EXPECT_GE(chunked.statements, json.statements);
        if (GetParam().lines > 10000 && &report == &reports[0]) {
            EXPECT_GE(chunked.statements, json.statements + 5);  // every lookup chunked
        }
        EXPECT_GT(perRow.statements, chunked.statements);
    }
}

// The sample holds what the lookups' rules decide: purchases tied on the latest date (the
// lowest supplier code wins) and orders exported from two Lisbon orders (the first by type,
// year, series and number wins).
TEST_P(LookupModesTest, TiesAreInTheSampleAndTheRuleDecidesThem) {
    const std::string tiedArticles =
        "from AJUDACMP a where a.Data = (select max(b.Data) from AJUDACMP b where b.Artigo = "
        "a.Artigo) and exists (select 1 from AJUDACMP c where c.Artigo = a.Artigo and c.Data = "
        "a.Data and c.Forneced <> a.Forneced)";
    ASSERT_GT(count(tiedArticles), 0);
    const Table ties = bd_->query(
        "select t.Artigo, f.Nome from (select a.Artigo, min(a.Forneced) as Forneced " +
        tiedArticles + " group by a.Artigo) as t inner join Fornec f on f.Codigo = t.Forneced");
    const Table rows = runPendingOrders({*bd_, *bdExt_}, {kStart}, progress_);
    long checked = 0;
    for (size_t t = 0; t < ties.rowCount(); ++t) {
        for (size_t r = 0; r < rows.rowCount(); ++r) {
            if (rows.at(r, "Artigo").toText() != ties.at(t, "Artigo").toText()) continue;
            std::string name = ties.at(t, "Nome").toText().substr(0, 80);
            for (char& c : name) c = c == '\n' ? ' ' : c;
            EXPECT_EQ(rows.at(r, "Nome Fornecedor").toText().substr(0, 20), name.substr(0, 20));
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
    EXPECT_GT(*bdExt_
                   ->query("select count(*) from (select 1 from qor_documentosexportados group "
                           "by EncTpDoc, EncAno, EncSerie, EncNumero having count(*) > 1)")
                   .at(0, 0)
                   .toInteger(),
              0);
    if (GetParam().alternate) {
        // Line-level supplier-order keys: some lines carry a note.
        const Table lines = runOrdersBySupplier({*bd_, *bdExt_, true}, {kStart}, progress_);
        long notes = 0;
        for (size_t r = 0; r < lines.rowCount(); ++r)
            notes += lines.at(r, "Notas").toText().size() > 1;
        EXPECT_GT(notes, 0);
    }
}

// A database without statistics and without the header index plans the main queries
// otherwise (from the lines rather than the headers), but returns the same rows in the same
// order: every tie is decided by the query itself.
TEST_P(LookupModesTest, AnUnmaintainedDatabaseGivesTheSameRows) {
    const auto reports = [&] {
        std::vector<Table> tables;
        tables.push_back(runPendingOrders({*bd_, *bdExt_}, {kStart}, progress_));
        tables.push_back(
            runOrdersBySupplier({*bd_, *bdExt_, GetParam().alternate}, {kStart}, progress_));
        tables.push_back(runProvisioning({*bd_, *bdExt_, GetParam().alternate},
                                         ProvisioningRequest::defaults(kToday), progress_));
        return tables;
    };
    const auto plan = [&] {
        const Table steps = bd_->query("EXPLAIN QUERY PLAN " + pendingOrdersSql(kStart));
        std::string text;
        for (size_t r = 0; r < steps.rowCount(); ++r) text += steps.at(r, "detail").toText() + ";";
        return text;
    };
    const std::vector<Table> maintained = reports();
    const std::string maintainedPlan = plan();
    bd_.reset();
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open((dir_.path() / "erp.db").string().c_str(), &raw), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(raw, "DROP INDEX DOCGCCAB_Area; DROP TABLE sqlite_stat1;", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);
    bd_ = SqliteConnection::open(dir_.path() / "erp.db");
    EXPECT_NE(plan(), maintainedPlan);
    const std::vector<Table> unmaintained = reports();
    for (size_t i = 0; i < unmaintained.size(); ++i) {
        expectSameTables(unmaintained[i], maintained[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, LookupModesTest,
                         ::testing::Values(Sample{1, 400, false}, Sample{2, 900, false},
                                           Sample{3, 400, true}, Sample{4, 1000, true},
                                           // more than 1,000 articles and documents: several
                                           // chunks per lookup in the chunked way
                                           Sample{5, 12000, false}, Sample{6, 12000, true}),
                         [](const ::testing::TestParamInfo<Sample>& info) {
                             return "seed" + std::to_string(info.param.seed) + "_" +
                                    std::to_string(info.param.lines) +
                                    (info.param.alternate ? "_variante" : "_default");
                         });

}  // namespace
}  // namespace talvers
