#include "printercfg/core/Snmp.h"

#include <algorithm>
#include <vector>

namespace printercfg {

namespace {

constexpr std::uint8_t TagInteger = 0x02;
constexpr std::uint8_t TagOctetString = 0x04;
constexpr std::uint8_t TagNull = 0x05;
constexpr std::uint8_t TagObjectId = 0x06;
constexpr std::uint8_t TagSequence = 0x30;
constexpr std::uint8_t TagIpAddress = 0x40;

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Tag, definite length (short form below 128, else long form), content.
std::string tlv(std::uint8_t tag, const std::string& content) {
    std::string out(1, static_cast<char>(tag));
    const std::size_t n = content.size();
    if (n < 0x80) {
        out += static_cast<char>(n);
    } else {
        std::string digits;
        for (std::size_t v = n; v; v >>= 8) digits.insert(digits.begin(), static_cast<char>(v & 0xFF));
        out += static_cast<char>(0x80 | digits.size());
        out += digits;
    }
    return out + content;
}

std::string byteInteger(std::uint8_t value) { return tlv(TagInteger, std::string(1, static_cast<char>(value))); }

// Reads the elements of one level of a BER encoding; never reads past its end.
class BerReader {
public:
    explicit BerReader(std::string_view data) : data_(data) {}

    struct Element {
        std::uint8_t tag = 0;
        std::string_view content;
    };

    // The next element; none when it is malformed or runs past the end.
    std::optional<Element> next() {
        if (data_.size() - pos_ < 2) return std::nullopt;
        const auto tag = static_cast<std::uint8_t>(data_[pos_]);
        if ((tag & 0x1F) == 0x1F) return std::nullopt;  // multi-byte tags are not used by SNMP
        std::size_t p = pos_ + 1;
        std::size_t length = static_cast<std::uint8_t>(data_[p++]);
        if (length & 0x80) {
            const std::size_t count = length & 0x7F;
            // 0x80 is the indefinite form; more than four length bytes cannot be met here.
            if (count == 0 || count > 4 || data_.size() - p < count) return std::nullopt;
            length = 0;
            for (std::size_t i = 0; i < count; ++i) length = (length << 8) | static_cast<std::uint8_t>(data_[p++]);
        }
        if (length > data_.size() - p) return std::nullopt;
        pos_ = p + length;
        return Element{tag, data_.substr(p, length)};
    }

    std::optional<Element> next(std::uint8_t tag) {
        auto e = next();
        if (!e || e->tag != tag) return std::nullopt;
        return e;
    }

    bool atEnd() const { return pos_ == data_.size(); }

private:
    std::string_view data_;
    std::size_t pos_ = 0;
};

// The content bytes as one number of up to 64 bits, most significant first.
std::uint64_t bigEndian(std::string_view content) {
    std::uint64_t v = 0;
    for (char c : content) v = (v << 8) | static_cast<std::uint8_t>(c);
    return v;
}

std::optional<std::int64_t> integerValue(std::string_view content) {
    const std::size_t n = content.size();
    if (n > 8) return std::nullopt;
    const std::uint64_t v = bigEndian(content);
    if (n <= 2) return n == 2 ? static_cast<std::int16_t>(static_cast<std::uint16_t>(v)) : static_cast<std::int64_t>(v);
    if (n <= 4) return n == 4 ? static_cast<std::int32_t>(static_cast<std::uint32_t>(v)) : static_cast<std::int64_t>(v);
    return static_cast<std::int64_t>(v);
}

}  // namespace

std::optional<std::string> EncodeSnmpOid(const std::string& oidText) {
    std::vector<std::string> pieces;
    const std::string text = trim(oidText);
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = text.find('.', start);
        pieces.push_back(text.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    if (pieces.size() > 1 && pieces.back().empty()) pieces.pop_back();
    // The leading arcs are always 1.3.
    std::string out(1, '\x2B');
    for (std::size_t i = 2; i < pieces.size(); ++i) {
        const std::string& piece = pieces[i];
        if (piece.empty() || piece.size() > 10 ||
            !std::all_of(piece.begin(), piece.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        const std::uint64_t arc = std::stoull(piece);
        if (arc > 0xFFFFFFFFull) return std::nullopt;
        std::string groups(1, static_cast<char>(arc & 0x7F));
        for (std::uint64_t v = arc >> 7; v; v >>= 7)
            groups.insert(groups.begin(), static_cast<char>(0x80 | (v & 0x7F)));
        out += groups;
    }
    return out;
}

bool EncodeSnmpRequest(const SnmpRequest& r, SnmpBuffer& buffer, std::size_t& length) {
    buffer.fill(0);
    length = 0;
    const std::string binding = tlv(TagSequence, tlv(TagObjectId, r.name) + tlv(TagNull, {}));
    const std::string pdu = byteInteger(r.requestId) + byteInteger(0) + byteInteger(0) + tlv(TagSequence, binding);
    const std::string message =
        tlv(TagSequence, byteInteger(r.version) + tlv(TagOctetString, r.community) + tlv(r.getType, pdu));
    if (message.size() > buffer.size()) return false;
    std::copy(message.begin(), message.end(), buffer.begin());
    length = message.size();
    return true;
}

std::optional<std::string> DecodeSnmpReply(std::string_view datagram, std::uint8_t requestId, std::string_view oid) {
    BerReader top(datagram);
    auto message = top.next(TagSequence);
    if (!message) return std::nullopt;
    BerReader m(message->content);
    auto version = m.next(TagInteger);
    auto community = m.next(TagOctetString);
    auto pdu = m.next(SnmpGetResponse);
    if (!version || !community || !pdu || !m.atEnd()) return std::nullopt;
    BerReader p(pdu->content);
    auto id = p.next(TagInteger);
    auto status = p.next(TagInteger);
    auto index = p.next(TagInteger);
    auto bindings = p.next(TagSequence);
    if (!id || !status || !index || !bindings || !p.atEnd()) return std::nullopt;
    if (integerValue(id->content) != std::int64_t{requestId}) return std::nullopt;
    if (integerValue(status->content) != std::int64_t{0}) return std::nullopt;
    BerReader list(bindings->content);
    auto binding = list.next(TagSequence);
    if (!binding || !list.atEnd()) return std::nullopt;
    BerReader b(binding->content);
    auto name = b.next(TagObjectId);
    auto value = b.next();
    if (!name || !value || !b.atEnd() || name->content != oid) return std::nullopt;
    return DecodeSnmpValue(value->tag, value->content);
}

std::optional<std::string> DecodeSnmpValue(std::uint8_t tag, std::string_view content) {
    switch (tag) {
        case 0x02:
        case 0x03:
        case 0x08:
        case 0x41:
        case 0x42:
        case 0x43: {
            auto v = integerValue(content);
            if (!v) return std::nullopt;
            return std::to_string(*v) + "\r\n";
        }
        case TagOctetString:
            return std::string(content);
        case TagNull:
        case TagIpAddress:
            if (content.size() > 4) return std::nullopt;
            return FormatIpAddress(static_cast<std::uint32_t>(bigEndian(content))) + "\r\n";
        default: {
            static const char digits[] = "0123456789ABCDEF";
            std::string hex;
            if (tag >= 0x10) hex += digits[tag >> 4];
            hex += digits[tag & 0x0F];
            return "Unknown &H" + hex;
        }
    }
}

std::string FormatIpAddress(std::uint32_t address) {
    return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 0xFF) + "." +
           std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}

}  // namespace printercfg
