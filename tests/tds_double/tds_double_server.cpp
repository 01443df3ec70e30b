#include "tests/tds_double/tds_double_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "tests/tds_double/tds_session.h"

namespace talvers {

TdsDoubleServer::TdsDoubleServer(DoubleOptions options)
    : options_(std::move(options)),
      catalogs_(options_.catalogs),
      trace_(options_.trace.empty() ? nullptr : std::make_unique<BatchTrace>(options_.trace)),
      shared_{options_, catalogs_, trace_.get(), stopping_} {
    for (const auto& [name, file] : options_.catalogs) {
        if (!std::filesystem::is_regular_file(file))
            throw std::runtime_error("catalog " + name + ": no file " + file.string());
    }
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int one = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(options_.port));
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        const std::string reason = std::strerror(errno);
        if (listener_ >= 0) close(listener_);
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(options_.port) +
                                 ": " + reason);
    }
    port_ = ntohs(address.sin_port);
}

TdsDoubleServer::~TdsDoubleServer() {
    stopping_ = true;
    std::lock_guard lock(mutex_);
    for (const auto& c : connections_) shutdown(c->socket, SHUT_RDWR);
    for (const auto& c : connections_) {
        c->thread.join();
        close(c->socket);
    }
    close(listener_);
}

void TdsDoubleServer::reapFinished() {
    std::erase_if(connections_, [](const std::unique_ptr<Connection>& c) {
        if (!c->finished) return false;
        c->thread.join();
        close(c->socket);
        return true;
    });
}

void TdsDoubleServer::run(int stopFd) {
    for (;;) {
        pollfd watched[3] = {
            {listener_, POLLIN, 0}, {stopFd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (poll(watched, 3, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (watched[1].revents) return;
        if (watched[2].revents) {
            char buffer[256];
            // Input that is read means the parent still holds the pipe; its end means it left.
            if (read(STDIN_FILENO, buffer, sizeof buffer) <= 0) return;
        }
        if (!(watched[0].revents & POLLIN)) continue;
        const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        const int one = 1;
        setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        std::lock_guard lock(mutex_);
        reapFinished();
        auto connection = std::make_unique<Connection>();
        connection->socket = client;
        connection->thread = std::thread([c = connection.get(), this] {
            serveTdsConnection(c->socket, shared_);
            c->finished = true;
        });
        connections_.push_back(std::move(connection));
    }
}

}  // namespace talvers
