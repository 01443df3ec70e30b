#include "tests/tds_double/tds_packet_reader.h"

#include "tests/tds_double/tds_protocol.h"

namespace talvers {
namespace {

bool knownType(std::uint8_t type) {
    switch (type) {
        case tds::kSqlBatch:
        case tds::kRpc:
        case tds::kAttention:
        case tds::kBulkLoad:
        case tds::kTransactionManager:
        case tds::kLogin7:
        case tds::kSspi:
        case tds::kPrelogin:
            return true;
        default:
            return false;
    }
}

}  // namespace

void TdsPacketReader::feed(std::span<const std::uint8_t> bytes) {
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    std::size_t at = 0;
    while (pending_.size() - at >= tds::kHeaderSize) {
        const std::size_t length =
            (std::size_t{pending_[at + 2]} << 8) | std::size_t{pending_[at + 3]};
        if (length < tds::kHeaderSize || length > tds::kMaxPacketSize) {
            throw TdsProtocolError("packet length " + std::to_string(length) + " out of range");
        }
        if (pending_.size() - at < length) break;
        takePacket(std::span(pending_).subspan(at, length));
        at += length;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at));
}

void TdsPacketReader::takePacket(std::span<const std::uint8_t> packet) {
    const std::uint8_t type = packet[0];
    if (!knownType(type)) throw TdsProtocolError("unknown packet type " + std::to_string(type));
    if (building_ && building_->type != type) {
        throw TdsProtocolError("packet type changed within a message");
    }
    if (!building_) building_ = TdsMessage{type, {}};
    const std::span<const std::uint8_t> payload = packet.subspan(tds::kHeaderSize);
    if (building_->payload.size() + payload.size() > maxMessageBytes_) {
        throw TdsProtocolError("message longer than " + std::to_string(maxMessageBytes_) +
                               " bytes");
    }
    building_->payload.insert(building_->payload.end(), payload.begin(), payload.end());
    if (packet[1] & tds::kEndOfMessage) {
        ready_.push_back(std::move(*building_));
        building_.reset();
    }
}

std::optional<TdsMessage> TdsPacketReader::next() {
    if (ready_.empty()) return std::nullopt;
    TdsMessage message = std::move(ready_.front());
    ready_.pop_front();
    return message;
}

}  // namespace talvers
