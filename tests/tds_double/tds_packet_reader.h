#pragma once
// TdsPacketReader: joins the packets a client sends into messages. It is fed bytes as they
// arrive from the socket, in any slices, and hands out each message once its last packet
// (status END OF MESSAGE) is in. What no client sends — a packet shorter than its header or
// longer than the largest packet size, an unknown packet type, a message whose packets change
// type, a message beyond `maxMessageBytes` — throws TdsProtocolError; the session then ends
// the connection. It never reads past what it was given.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <stdexcept>
#include <vector>

namespace talvers {

class TdsProtocolError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct TdsMessage {
    std::uint8_t type = 0;
    std::vector<std::uint8_t> payload;
};

class TdsPacketReader {
  public:
    // 64 MiB: a batch with tens of thousands of lookup keys fits many times over.
    static constexpr std::size_t kDefaultMaxMessageBytes = 64u << 20;

    explicit TdsPacketReader(std::size_t maxMessageBytes = kDefaultMaxMessageBytes)
        : maxMessageBytes_(maxMessageBytes) {}

    void feed(std::span<const std::uint8_t> bytes);
    std::optional<TdsMessage> next();
    // Whether part of a packet or message has come and its rest has not.
    bool midMessage() const { return !pending_.empty() || building_.has_value(); }

  private:
    void takePacket(std::span<const std::uint8_t> packet);

    std::size_t maxMessageBytes_;
    std::vector<std::uint8_t> pending_;  // the start of a packet not yet whole
    std::optional<TdsMessage> building_;
    std::deque<TdsMessage> ready_;
};

}  // namespace talvers
