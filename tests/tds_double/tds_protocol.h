#pragma once
// The numbers of TDS 7.4 that the double speaks: packet types and status, token types, data
// types and the bits of DONE. Byte order on the wire is little-endian except in the packet
// header (length and SPID) and the pre-login option table.
#include <cstdint>

namespace talvers::tds {

// Packet types.
inline constexpr std::uint8_t kSqlBatch = 0x01;
inline constexpr std::uint8_t kRpc = 0x03;
inline constexpr std::uint8_t kReply = 0x04;
inline constexpr std::uint8_t kAttention = 0x06;
inline constexpr std::uint8_t kBulkLoad = 0x07;
inline constexpr std::uint8_t kTransactionManager = 0x0E;
inline constexpr std::uint8_t kLogin7 = 0x10;
inline constexpr std::uint8_t kSspi = 0x11;
inline constexpr std::uint8_t kPrelogin = 0x12;

// Packet status: the last packet of a message.
inline constexpr std::uint8_t kEndOfMessage = 0x01;
inline constexpr std::size_t kHeaderSize = 8;
// A packet is at most this long (the packet size a client may ask for); 512 at least.
inline constexpr std::size_t kMaxPacketSize = 32767;
inline constexpr std::size_t kMinPacketSize = 512;

// Tokens.
inline constexpr std::uint8_t kColMetadata = 0x81;
inline constexpr std::uint8_t kError = 0xAA;
inline constexpr std::uint8_t kInfo = 0xAB;
inline constexpr std::uint8_t kLoginAck = 0xAD;
inline constexpr std::uint8_t kRow = 0xD1;
inline constexpr std::uint8_t kNbcRow = 0xD2;
inline constexpr std::uint8_t kEnvChange = 0xE3;
inline constexpr std::uint8_t kDone = 0xFD;

// ENVCHANGE types.
inline constexpr std::uint8_t kEnvDatabase = 1;
inline constexpr std::uint8_t kEnvLanguage = 2;
inline constexpr std::uint8_t kEnvPacketSize = 4;
inline constexpr std::uint8_t kEnvCollation = 7;

// DONE status bits.
inline constexpr std::uint16_t kDoneFinal = 0x0000;
inline constexpr std::uint16_t kDoneMore = 0x0001;
inline constexpr std::uint16_t kDoneError = 0x0002;
inline constexpr std::uint16_t kDoneCount = 0x0010;
inline constexpr std::uint16_t kDoneAttention = 0x0020;

// Data types (TYPE_INFO).
inline constexpr std::uint8_t kInt4 = 0x38;
inline constexpr std::uint8_t kIntN = 0x26;
inline constexpr std::uint8_t kBitN = 0x68;
inline constexpr std::uint8_t kDecimalN = 0x6A;
inline constexpr std::uint8_t kFloatN = 0x6D;
inline constexpr std::uint8_t kMoneyN = 0x6E;
inline constexpr std::uint8_t kDateTimeN = 0x6F;
inline constexpr std::uint8_t kBigVarChar = 0xA7;
inline constexpr std::uint8_t kBigChar = 0xAF;
inline constexpr std::uint8_t kNVarChar = 0xE7;
inline constexpr std::uint8_t kNChar = 0xEF;
inline constexpr std::uint8_t kText = 0x23;
inline constexpr std::uint8_t kNText = 0x63;

// PRELOGIN options and encryption answers.
inline constexpr std::uint8_t kPreloginVersion = 0x00;
inline constexpr std::uint8_t kPreloginEncryption = 0x01;
inline constexpr std::uint8_t kPreloginTerminator = 0xFF;
// (0 is "off", 3 "required".)
inline constexpr std::uint8_t kEncryptOn = 0x01;
inline constexpr std::uint8_t kEncryptNotSupported = 0x02;

// TDS 7.4, as LOGINACK names it.
inline constexpr std::uint32_t kTds74 = 0x74000004;

}  // namespace talvers::tds
