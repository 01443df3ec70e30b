// tds-double as a program: what it does with input no client should send (it closes that
// connection, or answers with an error, and goes on serving the others), and how it ends.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/odbc/odbc_connection.h"
#include "shell/dataaccess/odbc/odbc_connection_string.h"
#include "tests/support/erp_fixture.h"
#include "tests/support/tds_double_process.h"
#include "tests/tds_double/tds_protocol.h"
#include "tests/tds_double/tds_token_writer.h"

namespace talvers {
namespace {

using testing::TdsDoubleProcess;

// A raw connection to the double.
class RawClient {
  public:
    explicit RawClient(int port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        EXPECT_EQ(connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    }
    ~RawClient() { close(fd_); }
    void send(const std::vector<std::uint8_t>& bytes) {
        EXPECT_EQ(::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(bytes.size()));
    }
    // Reads until the double closes the connection; false when it is still open after 5 s.
    bool closedByServer() {
        for (int waited = 0; waited < 5000; waited += 100) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            std::uint8_t buffer[4096];
            if (read(fd_, buffer, sizeof buffer) <= 0) return true;
        }
        return false;
    }

  private:
    int fd_;
};

class TdsDoubleTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { std::setlocale(LC_CTYPE, "C.UTF-8"); }
    TdsDoubleProcess start() {
        return TdsDoubleProcess({"--catalog", "ERP=" + erp_.mainFile().string()});
    }
    // The double still serves a proper client.
    static void servesStill(const TdsDoubleProcess& server) {
        const ConnectionSettings s = server.settings("ERP");
        EXPECT_EQ(OdbcConnection::open(buildOdbcConnectionString(s))
                      ->query("SELECT Codigo FROM Armazens")
                      .fieldCount(),
                  1u);
    }
    testing::ErpFixture erp_;
};

TEST_F(TdsDoubleTest, MalformedInputClosesThatConnectionOnly) {
    TdsDoubleProcess server = start();
    const std::vector<std::vector<std::uint8_t>> inputs = {
        {0x12, 0x01, 0x00, 0x03, 0, 0, 0, 0},                                   // length below 8
        {0x99, 0x01, 0x00, 0x08, 0, 0, 0, 0},                                   // no such type
        tdsPackets(tds::kSqlBatch, {0, 0, 0, 0}, 512, true),                    // a batch first
        tdsPackets(tds::kPrelogin, {0x01, 0x00, 0x40, 0x00, 0x01}, 512, true),  // outside
        tdsPackets(tds::kPrelogin, {0xFF}, 512, true),  // then a half packet, and goodbye
    };
    for (size_t i = 0; i < inputs.size(); ++i) {
        RawClient client(server.port());
        client.send(inputs[i]);
        if (i + 1 < inputs.size()) {
            EXPECT_TRUE(client.closedByServer()) << i;
        } else {
            client.send({0x10, 0x00, 0x10, 0x00});
        }
    }
    servesStill(server);
}

TEST_F(TdsDoubleTest, ABatchThatIsNoTsqlIsAnErrorAndTheConnectionGoesOn) {
    TdsDoubleProcess server = start();
    const ConnectionSettings s = server.settings("ERP");
    const auto db = OdbcConnection::open(buildOdbcConnectionString(s));
    // An error whose text is the longest a message token holds: with the driver's prefix,
    // longer than the diagnostics call can count.
    std::string longMessage = "SELECT 1";
    for (int i = 0; i < 20000; ++i) longMessage += " y";
    // And one of 2,000 characters, more than the first look at a diagnostic takes.
    std::string mediumMessage = "SELECT 1";
    for (int i = 0; i < 1000; ++i) mediumMessage += " z";
    for (const std::string& batch :
         {std::string("hello world"), std::string("SELECT FROM WHERE"),
          std::string("SELECT 'a' + 1 FROM Armazens"), longMessage, mediumMessage}) {
        try {
            db->query(batch);
            ADD_FAILURE() << "answered " << batch.substr(0, 40);
        } catch (const DatabaseError& e) {
            EXPECT_TRUE(e.number() == 102 || e.number() == 50000)
                << batch.substr(0, 40) << ": " << e.details().substr(0, 200);
            if (batch == mediumMessage) {
                // The error names the expression before the alias, the last "z".
                const std::string expression = batch.substr(7, batch.size() - 9);
                ASSERT_GE(e.details().size(), expression.size());
                EXPECT_EQ(e.details().substr(e.details().size() - expression.size()), expression)
                    << "the driver's message is not whole";
            }
        }
    }
    EXPECT_EQ(db->query("SELECT Codigo FROM Armazens").fieldCount(), 1u);
}

TEST_F(TdsDoubleTest, EndsOnSigtermOrItsInputsEndAndExplainsItself) {
    TdsDoubleProcess server = start();
    servesStill(server);
    EXPECT_EQ(server.endWith(SIGTERM), 0);
    TdsDoubleProcess another = start();
    EXPECT_EQ(another.endByClosingInput(), 0);
    const std::string program = testing::tdsDoublePath();
    EXPECT_EQ(std::system((program + " --help >/dev/null").c_str()), 0);
    EXPECT_NE(std::system((program + " --port 99999 2>/dev/null").c_str()), 0);
    EXPECT_NE(std::system((program + " --catalog X 2>/dev/null").c_str()), 0);
}

}  // namespace
}  // namespace talvers
