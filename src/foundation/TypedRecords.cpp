#include "foundation/TypedRecords.h"

namespace foundation {

namespace {

void appendWord(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

}  // namespace

bool AppendTextRecord(std::string& out, std::string_view bytes) {
    if (bytes.size() > MaxTextRecordBytes) return false;
    appendWord(out, TextRecordType);
    appendWord(out, static_cast<std::uint16_t>(bytes.size()));
    out.append(bytes);
    return true;
}

void AppendIntegerRecord(std::string& out, std::int16_t value) {
    appendWord(out, IntegerRecordType);
    appendWord(out, static_cast<std::uint16_t>(value));
}

std::optional<std::uint16_t> RecordReader::word() {
    unsigned char b[2];
    if (!in_.read(reinterpret_cast<char*>(b), 2)) return std::nullopt;
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::optional<std::string> RecordReader::text() {
    const auto type = word();
    if (type != TextRecordType) return std::nullopt;
    const auto n = word();
    if (!n) return std::nullopt;
    std::string bytes(*n, '\0');
    if (*n > 0 && !in_.read(bytes.data(), *n)) return std::nullopt;
    return bytes;
}

std::optional<std::int16_t> RecordReader::integer() {
    const auto type = word();
    if (type != IntegerRecordType) return std::nullopt;
    const auto v = word();
    if (!v) return std::nullopt;
    return static_cast<std::int16_t>(*v);
}

}  // namespace foundation
