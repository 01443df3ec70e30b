#pragma once
// TdsTokenWriter: builds the token stream of one server reply — LOGINACK, ENVCHANGE,
// INFO and ERROR, COLMETADATA, ROW and NBCROW, DONE — in TDS 7.4's layout, and splits it into
// packets of the negotiated size. Texts go as UTF-16LE, except the values of non-Unicode
// character columns (see TdsColumn).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sample/sql_server_type.h"
#include "shell/dataaccess/value.h"

namespace talvers {

// A column of a result as COLMETADATA declares it.
struct TdsColumn {
    std::string name;
    SqlServerType type;
    bool nullable = true;
    std::string table;  // the table a text/ntext column comes from ("" for an expression)
};

// How character data is sent on one connection.
struct TdsTextEncoding {
    // Non-Unicode columns in a UTF-8 collation (the bytes are UTF-8, their length unknown to
    // the client beforehand) instead of Windows-1252.
    bool utf8 = false;
    // SET TEXTSIZE: the most bytes of a text, ntext or max value sent.
    std::uint32_t textSize = 4096;
};

// A message as SQL Server words it: its number, state, class (severity) and text.
struct ServerMessage {
    long number = 0;
    int state = 1;
    int severity = 16;
    std::string text;
};

class TdsTokenWriter {
  public:
    explicit TdsTokenWriter(TdsTextEncoding encoding = {}) : encoding_(encoding) {}

    void loginAck(std::string_view product, int majorVersion);
    void envChange(std::uint8_t type, std::string_view newValue, std::string_view oldValue);
    void collationChange();
    void message(const ServerMessage& message, bool error);
    void columns(const std::vector<TdsColumn>& columns);
    // One row of the last columns(): ROW, or NBCROW when a value is NULL. Throws
    // std::invalid_argument naming the column when a value cannot be sent as its type.
    void row(const std::vector<Value>& values);
    void done(std::uint16_t status, std::uint64_t rowCount);

    const std::vector<std::uint8_t>& bytes() const { return out_; }
    void clear() { out_.clear(); }
    void append(const std::vector<std::uint8_t>& bytes) {
        out_.insert(out_.end(), bytes.begin(), bytes.end());
    }

  private:
    void byte(std::uint8_t b) { out_.push_back(b); }
    void u16(std::uint16_t v);
    void u32(std::uint32_t v);
    void u64(std::uint64_t v);
    void usVarChar(std::string_view utf8);  // length in characters (2 bytes), then UTF-16LE
    void bVarChar(std::string_view utf8);   // length in characters (1 byte), then UTF-16LE
    void collation();
    void typeInfo(const TdsColumn& column);
    void value(const TdsColumn& column, const Value& value);
    std::string characterBytes(const TdsColumn& column, const Value& value) const;

    TdsTextEncoding encoding_;
    std::vector<TdsColumn> columns_;
    std::vector<std::uint8_t> out_;
};

// The packets carrying `payload` as (part of) a message of `type`, each at most `packetSize`
// bytes long; the last is marked END OF MESSAGE when `last`.
std::vector<std::uint8_t> tdsPackets(std::uint8_t type, const std::vector<std::uint8_t>& payload,
                                     std::size_t packetSize, bool last);

}  // namespace talvers
