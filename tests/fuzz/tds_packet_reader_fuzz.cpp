// What a client sends to tds-double: its packet reader joins any bytes into the same messages
// however they are sliced, or refuses them with TdsProtocolError (then also when sliced); the
// pre-login and login readers take any message and either read it or refuse it that way. No
// input may crash, hang or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "tests/tds_double/tds_login.h"
#include "tests/tds_double/tds_packet_reader.h"
#include "tests/tds_double/tds_protocol.h"

namespace {

using talvers::TdsMessage;
using talvers::TdsPacketReader;
using talvers::TdsProtocolError;

// The messages of `data` fed in slices of `slice` bytes; nullopt when refused.
std::optional<std::vector<TdsMessage>> messages(std::span<const std::uint8_t> data,
                                                std::size_t slice) {
    TdsPacketReader reader(1 << 16);
    std::vector<TdsMessage> out;
    try {
        for (std::size_t at = 0; at < data.size(); at += slice) {
            reader.feed(data.subspan(at, std::min(slice, data.size() - at)));
            while (auto m = reader.next()) out.push_back(std::move(*m));
        }
    } catch (const TdsProtocolError&) {
        return std::nullopt;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const auto whole = messages(input, size == 0 ? 1 : size);
    const auto sliced = messages(input, 1 + (size % 7));
    // A refusal may come in either only when the bytes before it made the same messages.
    if (whole.has_value() && sliced.has_value()) {
        if (whole->size() != sliced->size()) std::abort();
        for (std::size_t i = 0; i < whole->size(); ++i) {
            if ((*whole)[i].type != (*sliced)[i].type ||
                (*whole)[i].payload != (*sliced)[i].payload) {
                std::abort();
            }
        }
    } else if (whole.has_value() != sliced.has_value()) {
        std::abort();
    }
    for (const TdsMessage& message : whole.value_or(std::vector<TdsMessage>{})) {
        try {
            if (message.type == talvers::tds::kPrelogin) talvers::parsePrelogin(message.payload);
            if (message.type == talvers::tds::kLogin7) talvers::parseLogin7(message.payload);
        } catch (const TdsProtocolError&) {
        }
    }
    return 0;
}
