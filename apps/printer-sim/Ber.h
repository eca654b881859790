#pragma once
// Minimal BER reader and writer for SNMPv1 messages. Every length is
// bounds-checked; anything odd makes the reader give up (nullopt).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace printersim::ber {

using Bytes = std::vector<std::uint8_t>;
using Oid = std::vector<std::uint32_t>;

enum Tag : std::uint8_t {
    Integer = 0x02,
    OctetString = 0x04,
    Null = 0x05,
    ObjectId = 0x06,
    Sequence = 0x30,
    GetRequest = 0xA0,
    GetNextRequest = 0xA1,
    GetResponse = 0xA2,
};

struct Tlv {
    std::uint8_t tag = 0;
    std::span<const std::uint8_t> content;  // value bytes only
    std::span<const std::uint8_t> whole;    // tag, length and value
};

// Reads consecutive TLVs from a buffer.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
    bool atEnd() const { return pos_ == data_.size(); }
    // The next TLV, or nullopt if it is malformed or runs past the buffer.
    std::optional<Tlv> next();
    // The next TLV only if it has the given tag.
    std::optional<Tlv> next(std::uint8_t tag);

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

// Two's complement INTEGER content, 1 to 8 bytes.
std::optional<std::int64_t> decodeInteger(std::span<const std::uint8_t> content);
// OBJECT IDENTIFIER content; sub-identifiers must fit 32 bits.
std::optional<Oid> decodeOid(std::span<const std::uint8_t> content);

Bytes encodeInteger(std::int64_t value);  // minimal content bytes
Bytes encodeOid(const Oid& oid);          // content bytes; needs 2+ arcs

void appendLength(Bytes& out, std::size_t length);
void appendTlv(Bytes& out, std::uint8_t tag, std::span<const std::uint8_t> content);

}  // namespace printersim::ber
