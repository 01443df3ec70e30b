#include "tests/tds_double/tds_session.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <thread>

#include "shell/dataaccess/odbc/utf16_text.h"
#include "tests/tds_double/batch_answerer.h"
#include "tests/tds_double/tds_login.h"
#include "tests/tds_double/tds_packet_reader.h"
#include "tests/tds_double/tds_protocol.h"
#include "tests/tds_double/tds_token_writer.h"

namespace talvers {
namespace {

constexpr int kPollMs = 100;

// The connection went away or was told to: the session ends quietly.
struct ConnectionGone {};

class Session {
  public:
    Session(int socket, DoubleShared& shared) : socket_(socket), shared_(shared) {}

    void run() {
        const TdsMessage prelogin = nextMessage();
        if (prelogin.type != tds::kPrelogin) throw TdsProtocolError("no PRELOGIN first");
        parsePrelogin(prelogin.payload);
        // Whatever the client asks for: a client that insists on encryption must close.
        sendMessage(preloginAnswer(tds::kEncryptNotSupported, shared_.options.serverVersion));
        const TdsMessage login = nextMessage();
        if (login.type != tds::kLogin7) throw TdsProtocolError("no LOGIN7 after PRELOGIN");
        if (!logIn(parseLogin7(login.payload))) return;
        for (;;) {
            const TdsMessage message = nextMessage();
            if (message.type == tds::kAttention) {
                replyDone(tds::kDoneAttention, 0);
            } else if (message.type == tds::kSqlBatch) {
                batch(message.payload);
            } else {
                fail({50000, 1, 16, "tds-double answers SQL batches only"});
            }
        }
    }

  private:
    // Waits for the next whole message; throws ConnectionGone when the client leaves or the
    // double stops.
    TdsMessage nextMessage() {
        for (;;) {
            if (std::optional<TdsMessage> message = reader_.next()) return std::move(*message);
            receive(-1);
        }
    }

    // Reads what has come, waiting at most `waitMs` (-1: until something comes); false when
    // nothing came in time.
    bool receive(int waitMs) {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point until =
            Clock::now() + std::chrono::milliseconds(std::max(waitMs, 0));
        for (;;) {
            if (shared_.stopping) throw ConnectionGone{};
            int step = kPollMs;
            if (waitMs >= 0) {
                const auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now())
                        .count();
                step = static_cast<int>(std::clamp<long long>(left, 0, kPollMs));
            }
            pollfd p{socket_, POLLIN, 0};
            if (poll(&p, 1, step) > 0) {
                std::uint8_t buffer[65536];
                const ssize_t n = read(socket_, buffer, sizeof buffer);
                if (n <= 0) throw ConnectionGone{};
                reader_.feed(std::span(buffer, static_cast<std::size_t>(n)));
                return true;
            }
            if (waitMs >= 0 && Clock::now() >= until) return false;
        }
    }

    void sendBytes(const std::vector<std::uint8_t>& bytes) {
        for (std::size_t sent = 0; sent < bytes.size();) {
            const ssize_t n = send(socket_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) throw ConnectionGone{};
            sent += static_cast<std::size_t>(n);
        }
    }

    void sendMessage(const std::vector<std::uint8_t>& payload) {
        sendBytes(tdsPackets(tds::kReply, payload, packetSize_, true));
    }

    // Sends what the writer holds as packets: all of it, the last one ending the message,
    // when `last`; otherwise whole packets only, or everything but the end mark when `now`
    // (a row that must reach the client before the next one is ready).
    void flush(bool last, bool now = false) {
        const std::vector<std::uint8_t>& bytes = writer_.bytes();
        const std::size_t room = packetSize_ - tds::kHeaderSize;
        std::size_t take = bytes.size();
        if (!last && !now) take -= bytes.size() % room;
        if (take == 0 && !last) return;
        const std::vector<std::uint8_t> part(bytes.begin(),
                                             bytes.begin() + static_cast<std::ptrdiff_t>(take));
        sendBytes(tdsPackets(tds::kReply, part, packetSize_, last));
        const std::vector<std::uint8_t> rest(bytes.begin() + static_cast<std::ptrdiff_t>(take),
                                             bytes.end());
        writer_.clear();
        writer_.append(rest);
    }

    bool logIn(const Login7& login) {
        const DoubleOptions& o = shared_.options;
        if (login.userName != o.user || login.password != o.password) {
            writer_.message({18456, 1, 14, "Login failed for user '" + login.userName + "'."},
                            true);
            writer_.done(tds::kDoneError, 0);
            flush(true);
            return false;
        }
        const std::string wanted =
            login.database.empty() ? shared_.catalogs.defaultName() : login.database;
        const auto catalog = shared_.catalogs.find(wanted);
        if (!catalog) {
            writer_.message({4060, 1, 11,
                             "Cannot open database \"" + wanted +
                                 "\" requested by the login. The login failed."},
                            true);
            writer_.message({18456, 1, 14, "Login failed for user '" + login.userName + "'."},
                            true);
            writer_.done(tds::kDoneError, 0);
            flush(true);
            return false;
        }
        const std::size_t asked = login.packetSize;
        const std::size_t chosen =
            o.packetSize > 0
                ? static_cast<std::size_t>(o.packetSize)
                : std::clamp<std::size_t>(asked, tds::kMinPacketSize, tds::kMaxPacketSize);
        answerer_ = std::make_unique<BatchAnswerer>(shared_.catalogs, o, catalog->first);
        writer_ = TdsTokenWriter({o.textCollationUtf8, answerer_->textSize()});
        writer_.envChange(tds::kEnvDatabase, catalog->first, "master");
        writer_.message({5701, 2, 0, "Changed database context to '" + catalog->first + "'."},
                        false);
        writer_.collationChange();
        writer_.envChange(tds::kEnvLanguage, "us_english", "");
        writer_.message({5703, 1, 0, "Changed language setting to us_english."}, false);
        writer_.loginAck("Microsoft SQL Server", o.serverVersion);
        writer_.envChange(tds::kEnvPacketSize, std::to_string(chosen), std::to_string(asked));
        writer_.done(tds::kDoneFinal, 0);
        flush(true);
        packetSize_ = chosen;
        return true;
    }

    void fail(const ServerMessage& error) {
        writer_.message(error, true);
        writer_.done(tds::kDoneError, 0);
        flush(true);
    }

    void replyDone(std::uint16_t status, std::uint64_t rows) {
        writer_.done(status, rows);
        flush(true);
    }

    static std::string batchText(const std::vector<std::uint8_t>& payload) {
        // ALL_HEADERS first: its total length, then the headers.
        if (payload.size() < 4) throw TdsProtocolError("SQL batch without headers");
        const std::size_t headers =
            payload[0] | (payload[1] << 8) | (payload[2] << 16) | (std::size_t{payload[3]} << 24);
        if (headers < 4 || headers > payload.size() || (payload.size() - headers) % 2 != 0)
            throw TdsProtocolError("SQL batch headers out of range");
        std::u16string text;
        for (std::size_t at = headers; at < payload.size(); at += 2)
            text += static_cast<char16_t>(payload[at] | (payload[at + 1] << 8));
        return utf16ToUtf8(text);
    }

    void batch(const std::vector<std::uint8_t>& payload) {
        const std::string sql = batchText(payload);
        if (shared_.trace) shared_.trace->write(sql);
        BatchAnswer answer = answerer_->answer(sql);
        writer_ = TdsTokenWriter({shared_.options.textCollationUtf8, answerer_->textSize()});
        if (answer.error) return fail(*answer.error);
        if (answer.newDatabase) {
            writer_.envChange(tds::kEnvDatabase, *answer.newDatabase, "");
            writer_.message(
                {5701, 1, 0, "Changed database context to '" + *answer.newDatabase + "'."}, false);
        }
        if (answer.columns.empty()) return replyDone(tds::kDoneFinal, 0);
        rows(answer);
    }

    // The rows, and the faults the options ask for: each row but the first after a delay (so
    // the first reaches the client at once and the wait falls in its fetching), an error or a
    // dropped connection after the given number of rows (at the end, when it is the count).
    void rows(BatchAnswer& answer) {
        const DoubleOptions& o = shared_.options;
        writer_.columns(answer.columns);
        std::uint64_t sent = 0;
        for (std::vector<Value>& row : answer.rows.rows()) {
            if (faultAfter(sent)) return;
            if (o.rowDelayMs > 0 && sent > 0) {
                flush(false, true);
                if (attentionWithin(o.rowDelayMs)) return replyDone(tds::kDoneAttention, 0);
            } else if (attentionWithin(0)) {
                return replyDone(tds::kDoneAttention, 0);
            }
            try {
                writer_.row(row);
            } catch (const std::invalid_argument& e) {
                return fail({8115, 2, 16, std::string("Arithmetic overflow error: ") + e.what()});
            }
            ++sent;
            if (o.rowDelayMs > 0) {
                flush(false, true);
            } else {
                flush(false);
            }
        }
        if (shared_.options.failAfterRows == sent) {
            // After the last row, the error follows the result's own DONE, as one raised when
            // the statement ends does.
            writer_.done(tds::kDoneCount | tds::kDoneMore, sent);
            return fail(
                {8115, 2, 16, "Arithmetic overflow error converting expression to data type int."});
        }
        if (!faultAfter(sent)) replyDone(tds::kDoneCount, sent);
    }

    // Applies --close-after-rows or --fail-after-rows when `sent` rows have gone; true when
    // the result ends there.
    bool faultAfter(std::uint64_t sent) {
        const DoubleOptions& o = shared_.options;
        if (o.closeAfterRows && sent == *o.closeAfterRows) {
            flush(false, true);
            throw ConnectionGone{};
        }
        if (o.failAfterRows && sent == *o.failAfterRows) {
            fail(
                {8115, 2, 16, "Arithmetic overflow error converting expression to data type int."});
            return true;
        }
        return false;
    }

    // Whether an ATTENTION comes within `waitMs` (0: has come already).
    bool attentionWithin(int waitMs) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
        for (;;) {
            if (std::optional<TdsMessage> message = reader_.next()) {
                if (message->type == tds::kAttention) return true;
                throw TdsProtocolError("a message other than ATTENTION while results are sent");
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                until - std::chrono::steady_clock::now());
            if (!receive(static_cast<int>(std::max<long>(0, left.count())))) return false;
        }
    }

    int socket_;
    DoubleShared& shared_;
    TdsPacketReader reader_;
    TdsTokenWriter writer_;
    std::size_t packetSize_ = 4096;
    std::unique_ptr<BatchAnswerer> answerer_;
};

}  // namespace

void serveTdsConnection(int socket, DoubleShared& shared) {
    try {
        Session(socket, shared).run();
    } catch (const ConnectionGone&) {
    } catch (const TdsProtocolError& e) {
        std::cerr << "tds-double: connection closed: " << e.what() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "tds-double: connection closed after a failure: " << e.what() << "\n";
    }
    // The client sees the end now; the descriptor is closed by the server's owner.
    shutdown(socket, SHUT_RDWR);
}

}  // namespace talvers
