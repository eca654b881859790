#include "Ber.h"

namespace printersim::ber {

std::optional<Tlv> Reader::next() {
    const std::size_t start = pos_;
    std::size_t p = pos_;
    const std::size_t size = data_.size();
    if (p >= size) return std::nullopt;
    const std::uint8_t tag = data_[p++];
    if ((tag & 0x1F) == 0x1F) return std::nullopt;  // multi-byte tags unused here
    if (p >= size) return std::nullopt;
    const std::uint8_t first = data_[p++];
    std::size_t length = 0;
    if (first < 0x80) {
        length = first;
    } else {
        const std::size_t count = first & 0x7F;
        if (count == 0 || count > 4) return std::nullopt;  // indefinite or absurd
        if (size - p < count) return std::nullopt;
        for (std::size_t i = 0; i < count; ++i) length = (length << 8) | data_[p++];
    }
    if (length > size - p) return std::nullopt;
    Tlv tlv;
    tlv.tag = tag;
    tlv.content = data_.subspan(p, length);
    tlv.whole = data_.subspan(start, p + length - start);
    pos_ = p + length;
    return tlv;
}

std::optional<Tlv> Reader::next(std::uint8_t tag) {
    auto tlv = next();
    if (!tlv || tlv->tag != tag) return std::nullopt;
    return tlv;
}

std::optional<std::int64_t> decodeInteger(std::span<const std::uint8_t> content) {
    if (content.empty() || content.size() > 8) return std::nullopt;
    std::uint64_t value = (content[0] & 0x80) ? ~std::uint64_t{0} : 0;
    for (std::uint8_t b : content) value = (value << 8) | b;
    return static_cast<std::int64_t>(value);
}

std::optional<Oid> decodeOid(std::span<const std::uint8_t> content) {
    if (content.empty()) return std::nullopt;
    Oid oid;
    std::uint64_t sub = 0;
    bool inSub = false;
    for (std::uint8_t b : content) {
        sub = (sub << 7) | (b & 0x7F);
        if (sub > 0xFFFFFFFFu) return std::nullopt;
        inSub = (b & 0x80) != 0;
        if (inSub) continue;
        if (oid.empty()) {
            const auto first = static_cast<std::uint32_t>(sub < 40 ? 0 : sub < 80 ? 1 : 2);
            oid.push_back(first);
            oid.push_back(static_cast<std::uint32_t>(sub - 40u * first));
        } else {
            oid.push_back(static_cast<std::uint32_t>(sub));
        }
        sub = 0;
    }
    if (inSub) return std::nullopt;  // last sub-identifier unterminated
    return oid;
}

Bytes encodeInteger(std::int64_t value) {
    Bytes all;
    for (int shift = 56; shift >= 0; shift -= 8) all.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    std::size_t start = 0;
    while (start < 7) {
        const bool redundantZero = all[start] == 0x00 && !(all[start + 1] & 0x80);
        const bool redundantOnes = all[start] == 0xFF && (all[start + 1] & 0x80);
        if (!redundantZero && !redundantOnes) break;
        ++start;
    }
    return Bytes(all.begin() + static_cast<std::ptrdiff_t>(start), all.end());
}

namespace {
void appendSubId(Bytes& out, std::uint64_t sub) {
    std::uint8_t groups[10];
    int n = 0;
    do {
        groups[n++] = static_cast<std::uint8_t>(sub & 0x7F);
        sub >>= 7;
    } while (sub != 0);
    while (n > 1) out.push_back(static_cast<std::uint8_t>(groups[--n] | 0x80));
    out.push_back(groups[0]);
}
}  // namespace

Bytes encodeOid(const Oid& oid) {
    Bytes out;
    if (oid.size() < 2) return out;
    appendSubId(out, std::uint64_t{oid[0]} * 40u + oid[1]);
    for (std::size_t i = 2; i < oid.size(); ++i) appendSubId(out, oid[i]);
    return out;
}

void appendLength(Bytes& out, std::size_t length) {
    if (length < 0x80) {
        out.push_back(static_cast<std::uint8_t>(length));
        return;
    }
    std::uint8_t bytes[sizeof(std::size_t)];
    int n = 0;
    while (length != 0) {
        bytes[n++] = static_cast<std::uint8_t>(length & 0xFF);
        length >>= 8;
    }
    out.push_back(static_cast<std::uint8_t>(0x80 | n));
    while (n > 0) out.push_back(bytes[--n]);
}

void appendTlv(Bytes& out, std::uint8_t tag, std::span<const std::uint8_t> content) {
    out.push_back(tag);
    appendLength(out, content.size());
    out.insert(out.end(), content.begin(), content.end());
}

}  // namespace printersim::ber
