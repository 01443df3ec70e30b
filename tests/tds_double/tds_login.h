#pragma once
// The two messages that open a TDS conversation, read as the server receives them:
// PRELOGIN (the client's wish on encryption) and LOGIN7 (user, password, database, packet
// size). Both throw TdsProtocolError for a message whose offsets or lengths point outside it.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tests/tds_double/tds_packet_reader.h"

namespace talvers {

struct PreloginRequest {
    // 0 (off, also when the option is absent), kEncryptOn, kEncryptNotSupported or 3
    // (required).
    std::uint8_t encryption = 0;
};

PreloginRequest parsePrelogin(std::span<const std::uint8_t> payload);

// The server's PRELOGIN answer: its version (major.minor.build) and `encryption`.
std::vector<std::uint8_t> preloginAnswer(std::uint8_t encryption, int majorVersion);

struct Login7 {
    std::uint32_t tdsVersion = 0;
    std::uint32_t packetSize = 0;
    std::string hostName;
    std::string userName;
    std::string password;  // decoded
    std::string appName;
    std::string database;
};

Login7 parseLogin7(std::span<const std::uint8_t> payload);

}  // namespace talvers
