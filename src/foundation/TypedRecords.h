#pragma once
// The typed records of the wizards' settings files, back to back with no
// header: a text record is the type code 8, its length n and n bytes of 8-bit
// text; an integer record is the type code 2 and a signed 16-bit value. Every
// number is little-endian.

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

constexpr std::uint16_t TextRecordType = 8;
constexpr std::uint16_t IntegerRecordType = 2;
// The most bytes a text record holds (the width of its length field).
constexpr std::size_t MaxTextRecordBytes = 65535;

// Appends a text record of the given bytes; false (nothing appended) when
// they do not fit one record.
bool AppendTextRecord(std::string& out, std::string_view bytes);
void AppendIntegerRecord(std::string& out, std::int16_t value);

// Reads records one after the other from a stream; a record of another type
// than asked for, or one the stream ends inside, gives nothing.
class RecordReader {
public:
    explicit RecordReader(std::istream& in) : in_(in) {}
    std::optional<std::string> text();
    std::optional<std::int16_t> integer();

private:
    std::optional<std::uint16_t> word();
    std::istream& in_;
};

}  // namespace foundation
