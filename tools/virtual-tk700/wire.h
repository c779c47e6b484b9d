// The wire format between the hidapi stand-in (and the tests' control client) and tk700-sim,
// written once. Every message, in both directions, is a frame: a u32 length and that many bytes of
// body. A request body is an op byte and its fields; a reply body an i32 result and its data. All
// integers are little-endian. No Qt here: the stand-in is loaded into programs with a Qt of their
// own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace wire
{

using Bytes = std::vector<std::uint8_t>;

enum Op : std::uint8_t {
    OpEnumerate = 0x01,  // u16 vid, u16 pid -> count; the interface records
    OpOpen = 0x02,       // path -> 0 or -1; the connection is the handle from then on
    OpSetFeature = 0x03, // report -> bytes taken
    OpGetFeature = 0x04, // u32 length, u8 report ID -> n; n bytes
    OpWrite = 0x05,      // report -> bytes taken
    OpRead = 0x06,       // u32 length, i32 time-out in ms -> n; n bytes
    OpControl = 0x10,    // JSON object -> 0 or -1; JSON
};

constexpr std::size_t kLengthSize = 4; // the length field in front of every body
constexpr std::size_t kResultSize = 4; // the result field in front of a reply's data
// The largest body either side accepts; a longer frame means the stream is out of step.
constexpr std::uint32_t kMaxFrame = 1u << 20;

template <typename T> void put(Bytes &out, T value)
{
    using Unsigned = std::make_unsigned_t<T>;
    const auto bits = static_cast<Unsigned>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out.push_back(static_cast<std::uint8_t>((bits >> (8 * i)) & 0xFF));
}
inline void putU16(Bytes &out, std::uint16_t value)
{
    put(out, value);
}
inline void putU32(Bytes &out, std::uint32_t value)
{
    put(out, value);
}
inline void putI32(Bytes &out, std::int32_t value)
{
    put(out, value);
}
// A text: its u16 length, then its bytes.
inline void putText(Bytes &out, const std::string &text)
{
    putU16(out, static_cast<std::uint16_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

// The integer at `at` of `size` bytes; bytes past the end read as zero.
template <typename T> T get(const std::uint8_t *data, std::size_t size, std::size_t at)
{
    using Unsigned = std::make_unsigned_t<T>;
    Unsigned value = 0;
    for (std::size_t i = 0; i < sizeof(T) && at + i < size; ++i)
        value |= static_cast<Unsigned>(static_cast<Unsigned>(data[at + i]) << (8 * i));
    return static_cast<T>(value);
}

// `body` as a frame: its length, then the body.
inline Bytes frame(const Bytes &body)
{
    Bytes out;
    out.reserve(kLengthSize + body.size());
    putU32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// The frame of a reply: its result, then its data.
inline Bytes replyFrame(std::int32_t result, const std::uint8_t *data, std::size_t size)
{
    Bytes body;
    body.reserve(kResultSize + size);
    putI32(body, result);
    body.insert(body.end(), data, data + size);
    return frame(body);
}

} // namespace wire
