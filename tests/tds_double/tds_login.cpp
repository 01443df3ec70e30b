#include "tests/tds_double/tds_login.h"

#include "shell/dataaccess/odbc/utf16_text.h"
#include "tests/tds_double/tds_protocol.h"

namespace talvers {
namespace {

constexpr std::size_t kLogin7FixedSize = 94;

std::uint16_t bigEndian16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}
std::uint16_t little16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}
std::uint32_t little32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} | (std::uint32_t{bytes[at + 1]} << 8) |
           (std::uint32_t{bytes[at + 2]} << 16) | (std::uint32_t{bytes[at + 3]} << 24);
}

// The text whose offset and length in characters stand at `field`; the password's bytes were
// nibble-swapped and XORed with 0xA5 by the client.
std::string loginText(std::span<const std::uint8_t> login, std::size_t field, bool password) {
    const std::size_t offset = little16(login, field);
    const std::size_t characters = little16(login, field + 2);
    if (offset + 2 * characters > login.size()) throw TdsProtocolError("LOGIN7 field out of range");
    std::u16string text;
    for (std::size_t i = 0; i < characters; ++i) {
        std::uint8_t b[2] = {login[offset + 2 * i], login[offset + 2 * i + 1]};
        if (password) {
            for (std::uint8_t& c : b) {
                c ^= 0xA5;
                c = static_cast<std::uint8_t>((c << 4) | (c >> 4));
            }
        }
        text += static_cast<char16_t>(b[0] | (b[1] << 8));
    }
    return utf16ToUtf8(text);
}

}  // namespace

PreloginRequest parsePrelogin(std::span<const std::uint8_t> payload) {
    PreloginRequest request;
    for (std::size_t at = 0;; at += 5) {
        if (at >= payload.size()) throw TdsProtocolError("PRELOGIN without terminator");
        if (payload[at] == tds::kPreloginTerminator) return request;
        if (at + 5 > payload.size()) throw TdsProtocolError("PRELOGIN option cut short");
        const std::size_t offset = bigEndian16(payload, at + 1);
        const std::size_t length = bigEndian16(payload, at + 3);
        if (offset + length > payload.size())
            throw TdsProtocolError("PRELOGIN option out of range");
        if (payload[at] == tds::kPreloginEncryption) {
            if (length != 1)
                throw TdsProtocolError("PRELOGIN encryption of length " + std::to_string(length));
            request.encryption = payload[offset];
        }
    }
}

std::vector<std::uint8_t> preloginAnswer(std::uint8_t encryption, int majorVersion) {
    // VERSION (6 bytes), ENCRYPTION (1), INSTOPT (1), MARS (1), then the terminator.
    constexpr std::uint8_t kOptions = 4;
    constexpr std::uint8_t kTable = kOptions * 5 + 1;
    std::vector<std::uint8_t> out = {tds::kPreloginVersion,
                                     0,
                                     kTable,
                                     0,
                                     6,  // version
                                     tds::kPreloginEncryption,
                                     0,
                                     kTable + 6,
                                     0,
                                     1,
                                     0x02,
                                     0,
                                     kTable + 7,
                                     0,
                                     1,  // INSTOPT
                                     0x04,
                                     0,
                                     kTable + 8,
                                     0,
                                     1,  // MARS
                                     tds::kPreloginTerminator};
    const std::uint8_t version[6] = {static_cast<std::uint8_t>(majorVersion), 0, 0x07, 0xD0, 0, 0};
    for (const std::uint8_t b : version) out.push_back(b);
    out.push_back(encryption);
    out.push_back(0);  // the default instance
    out.push_back(0);  // no MARS
    return out;
}

Login7 parseLogin7(std::span<const std::uint8_t> payload) {
    if (payload.size() < kLogin7FixedSize) throw TdsProtocolError("LOGIN7 shorter than its header");
    if (little32(payload, 0) != payload.size()) throw TdsProtocolError("LOGIN7 length mismatch");
    Login7 login;
    login.tdsVersion = little32(payload, 4);
    login.packetSize = little32(payload, 8);
    login.hostName = loginText(payload, 36, false);
    login.userName = loginText(payload, 40, false);
    login.password = loginText(payload, 44, true);
    login.appName = loginText(payload, 48, false);
    login.database = loginText(payload, 68, false);
    return login;
}

}  // namespace talvers
