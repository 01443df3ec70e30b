#include "tests/support/fake_tds_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

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

}  // namespace

FakeTdsServer::FakeTdsServer() {
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
    thread_ = std::thread(&FakeTdsServer::serve, this);
}

FakeTdsServer::~FakeTdsServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ >= 0) close(listener_);
}

void FakeTdsServer::serve() {
    if (!readable(listener_, stop_, 60000)) return;
    const int client = accept(listener_, nullptr, nullptr);
    if (client < 0) return;
    trickle(client);
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

}  // namespace talvers::testing
