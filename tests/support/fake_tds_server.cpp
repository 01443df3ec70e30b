#include "tests/support/fake_tds_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

namespace talvers::testing {
namespace {

constexpr int kPollMs = 100;
constexpr int kPatienceMs = 10000;

// Waits until `fd` can be read, the server stops, or the patience runs out.
bool readable(int fd, const std::atomic<bool>& stop, int patienceMs = kPatienceMs) {
    for (int waited = 0; waited < patienceMs && !stop; waited += kPollMs) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, kPollMs) > 0) return true;
    }
    return false;
}

// One TDS message (its packets' payloads joined), or empty when none came whole.
std::vector<std::uint8_t> readMessage(int fd, const std::atomic<bool>& stop) {
    std::vector<std::uint8_t> message;
    for (;;) {
        std::uint8_t header[8];
        size_t got = 0;
        while (got < sizeof header) {
            if (!readable(fd, stop)) return {};
            const ssize_t n = read(fd, header + got, sizeof header - got);
            if (n <= 0) return {};
            got += static_cast<size_t>(n);
        }
        const size_t length = (size_t{header[2]} << 8) | header[3];
        if (length < sizeof header) return {};
        std::vector<std::uint8_t> payload(length - sizeof header);
        got = 0;
        while (got < payload.size()) {
            if (!readable(fd, stop)) return {};
            const ssize_t n = read(fd, payload.data() + got, payload.size() - got);
            if (n <= 0) return {};
            got += static_cast<size_t>(n);
        }
        message.insert(message.end(), payload.begin(), payload.end());
        if (header[1] & 0x01) return message;  // end of message
    }
}

// The pre-login answer: version 15.0.2000, encryption not supported.
std::vector<std::uint8_t> preloginAnswer() {
    const std::vector<std::uint8_t> payload = {
        0x00, 0x00, 11,   0x00, 6,                  // VERSION at 11, 6 bytes
        0x01, 0x00, 17,   0x00, 1,                  // ENCRYPTION at 17, 1 byte
        0xFF,                                       // end of options
        0x0F, 0x00, 0x07, 0xD0, 0x00, 0x00, 0x02};  // ENCRYPT_NOT_SUP
    std::vector<std::uint8_t> packet = {
        0x04, 0x01, 0x00, static_cast<std::uint8_t>(8 + payload.size()), 0x00, 0x00, 0x01, 0x00};
    packet.insert(packet.end(), payload.begin(), payload.end());
    return packet;
}

std::uint16_t word(const std::vector<std::uint8_t>& bytes, size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

// A text of the login packet: offset and length in characters at `field`, UTF-16LE.
std::u16string loginText(const std::vector<std::uint8_t>& login, size_t field, bool password) {
    const size_t offset = word(login, field);
    const size_t characters = word(login, field + 2);
    std::u16string text;
    for (size_t i = 0; i < characters && offset + 2 * i + 1 < login.size(); ++i) {
        std::uint8_t b[2] = {login[offset + 2 * i], login[offset + 2 * i + 1]};
        if (password) {
            // Each byte was nibble-swapped, then XORed with 0xA5.
            for (std::uint8_t& c : b) {
                c ^= 0xA5;
                c = static_cast<std::uint8_t>((c << 4) | (c >> 4));
            }
        }
        text += static_cast<char16_t>(b[0] | (b[1] << 8));
    }
    return text;
}

}  // namespace

FakeTdsServer::FakeTdsServer(Behaviour behaviour) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 4) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return;  // port() stays 0 and the test's connection fails
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread(&FakeTdsServer::serve, this, behaviour);
}

FakeTdsServer::~FakeTdsServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ >= 0) close(listener_);
}

std::optional<RecordedLogin> FakeTdsServer::login() const {
    std::lock_guard lock(mutex_);
    return login_;
}

void FakeTdsServer::serve(Behaviour behaviour) {
    if (!readable(listener_, stop_, 60000)) return;
    const int client = accept(listener_, nullptr, nullptr);
    if (client < 0) return;
    if (behaviour == Behaviour::Trickle) {
        trickle(client);
    } else {
        recordLogin(client);
    }
    close(client);
}

void FakeTdsServer::trickle(int client) {
    // A packet header announcing 4,096 bytes, then zeros: at a byte a second, over an hour.
    const std::uint8_t header[8] = {0x04, 0x00, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00};
    for (size_t sent = 0; !stop_; ++sent) {
        const std::uint8_t byte = sent < sizeof header ? header[sent] : 0;
        if (send(client, &byte, 1, MSG_NOSIGNAL) != 1) return;
        for (int waited = 0; waited < 1000 && !stop_; waited += kPollMs) {
            usleep(kPollMs * 1000);
        }
    }
}

void FakeTdsServer::recordLogin(int client) {
    if (readMessage(client, stop_).empty()) return;  // pre-login
    const std::vector<std::uint8_t> answer = preloginAnswer();
    if (send(client, answer.data(), answer.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(answer.size())) {
        return;
    }
    const std::vector<std::uint8_t> login = readMessage(client, stop_);
    if (login.size() < 48) return;
    std::lock_guard lock(mutex_);
    login_ = RecordedLogin{loginText(login, 40, false), loginText(login, 44, true)};
}

}  // namespace talvers::testing
