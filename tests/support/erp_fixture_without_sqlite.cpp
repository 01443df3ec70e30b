// The ERP fixture where there is no SQLite library (the Windows pass): every case built on it
// is skipped and says why; the same cases run in the Linux passes. The skip stops the case
// before its body when the fixture is a member of the case's fixture class, whose constructor
// may still add rows (they go nowhere). A fixture made inside a test body cannot stop the body:
// its connections fail loudly instead of letting the case pass.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/support/erp_fixture.h"

namespace talvers::testing {
namespace {

// GTEST_SKIP returns from the function it is in, which a constructor cannot hold.
void skipWithoutSqlite() {
    GTEST_SKIP() << "the ERP fixture is an SQLite database read through the SQLite backend, "
                    "which this build does not have; the case runs in the Linux passes";
}

[[noreturn]] void unavailable() {
    throw std::logic_error(
        "ErpFixture's connections used without SQLite: make the fixture a "
        "member of the test's fixture class, so that the case is skipped");
}

}  // namespace

ErpFixture::ErpFixture() {
    skipWithoutSqlite();
}
ErpFixture::~ErpFixture() = default;

void ErpFixture::execMain(const std::string&) {}
void ErpFixture::execExternal(const std::string&) {}
void ErpFixture::orderLine(std::string_view, std::string_view, int, int, std::string_view,
                           std::string_view) {}
void ErpFixture::customer(int, std::string_view) {}
void ErpFixture::article(std::string_view, std::string_view, std::optional<int>) {}
void ErpFixture::stock(std::string_view, std::string_view, std::string_view) {}
void ErpFixture::supplierLineNote(std::string_view, std::string_view) {}
void ErpFixture::purchase(std::string_view, std::string_view, std::string_view, std::string_view) {}
void ErpFixture::exported(std::string_view, std::string_view, int, std::string_view) {}
Connection& ErpFixture::bd() {
    unavailable();
}
Connection& ErpFixture::bdExt() {
    unavailable();
}

}  // namespace talvers::testing
