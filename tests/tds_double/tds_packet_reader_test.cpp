#include "tests/tds_double/tds_packet_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/tds_double/tds_login.h"
#include "tests/tds_double/tds_protocol.h"
#include "tests/tds_double/tds_token_writer.h"

namespace talvers {
namespace {

std::vector<std::uint8_t> bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

// Two messages as a client sends them: a batch over three packets, then an attention.
std::vector<std::uint8_t> stream() {
    std::vector<std::uint8_t> out =
        tdsPackets(tds::kSqlBatch, bytes(std::string(1200, 'x')), 512, true);
    const std::vector<std::uint8_t> attention = tdsPackets(tds::kAttention, {}, 512, true);
    out.insert(out.end(), attention.begin(), attention.end());
    return out;
}

// However the bytes are sliced as they arrive, the same messages come out, each once.
TEST(TdsPacketReader, JoinsPacketsIntoMessagesWhateverTheSlices) {
    const std::vector<std::uint8_t> all = stream();
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        TdsPacketReader reader;
        std::vector<TdsMessage> messages;
        for (std::size_t at = 0; at < all.size();) {
            const std::size_t take = std::min<std::size_t>(1 + random() % 700, all.size() - at);
            reader.feed(std::span(all).subspan(at, take));
            at += take;
            while (auto m = reader.next()) messages.push_back(std::move(*m));
            EXPECT_EQ(reader.midMessage(), at < all.size() && messages.size() < 2);
        }
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[0].type, tds::kSqlBatch);
        EXPECT_EQ(messages[0].payload, bytes(std::string(1200, 'x')));
        EXPECT_EQ(messages[1].type, tds::kAttention);
        EXPECT_TRUE(messages[1].payload.empty());
    }
}

TEST(TdsPacketReader, RefusesWhatNoClientSends) {
    const auto refused = [](std::vector<std::uint8_t> packet, std::size_t limit = 1 << 20) {
        TdsPacketReader reader(limit);
        EXPECT_THROW(reader.feed(packet), TdsProtocolError);
    };
    refused({0x01, 0x01, 0x00, 0x07, 0, 0, 1, 0});  // shorter than its header
    refused({0x01, 0x01, 0x80, 0x00, 0, 0, 1, 0});  // longer than 32767
    refused({0x05, 0x01, 0x00, 0x08, 0, 0, 1, 0});  // no such type
    refused({0x01, 0x00, 0x00, 0x09, 0, 0, 1, 0, 'a', 0x12, 0x01, 0x00, 0x08, 0, 0, 2, 0});
    refused(tdsPackets(tds::kSqlBatch, bytes(std::string(600, 'y')), 512, true), 500);
    // The largest packet and message allowed still pass.
    TdsPacketReader reader(600);
    reader.feed(tdsPackets(tds::kSqlBatch, bytes(std::string(600, 'y')), 32767, true));
    EXPECT_EQ(reader.next()->payload.size(), 600u);
}

TEST(TdsLogin, ReadsTheClientsPreloginAndRefusesOffsetsOutside) {
    // As FreeTDS sends it asking for encryption (option 1 = 0x01).
    const std::vector<std::uint8_t> prelogin = {
        0x00, 0x00, 0x1a, 0x00, 0x06, 0x01, 0x00, 0x20, 0x00, 0x01, 0x02, 0x00, 0x21,
        0x00, 0x0c, 0x03, 0x00, 0x2d, 0x00, 0x04, 0x04, 0x00, 0x31, 0x00, 0x01, 0xff,
        0x09, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 'M',  'S',  'S',  'Q',  'L',  'S',
        'e',  'r',  'v',  'e',  'r',  0x00, 0x55, 0x0d, 0x00, 0x00, 0x00};
    EXPECT_EQ(parsePrelogin(prelogin).encryption, tds::kEncryptOn);
    std::vector<std::uint8_t> outside = prelogin;
    outside[7] = 0x40;  // the encryption byte's offset past the end
    EXPECT_THROW(parsePrelogin(outside), TdsProtocolError);
    EXPECT_THROW(parsePrelogin(std::vector<std::uint8_t>(prelogin.begin(), prelogin.begin() + 25)),
                 TdsProtocolError);
    std::vector<std::uint8_t> login(94, 0);
    login[0] = 94;
    login[40] = 90;  // the user name's offset, 3 characters from byte 90: past the end
    login[42] = 3;
    EXPECT_THROW(parseLogin7(login), TdsProtocolError);
    login[42] = 2;
    EXPECT_EQ(parseLogin7(login).userName, std::string(2, '\0'));
    login[0] = 95;
    EXPECT_THROW(parseLogin7(login), TdsProtocolError);
}

}  // namespace
}  // namespace talvers
