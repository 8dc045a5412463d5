// The FIT format's CRC, which the writer and the reader share.
#include "untFit.h"

#include <array>

namespace {

// The CRC-16 of polynomial 0xA001 (reflected), a byte at a time from a table
// worked out when the program is compiled.
constexpr std::array<uint16_t, 256> CrcTable()
{
    std::array<uint16_t, 256> table{};
    for (int byte = 0; byte < 256; ++byte) {
        uint16_t crc = static_cast<uint16_t>(byte);
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
        table[static_cast<size_t>(byte)] = crc;
    }
    return table;
}

} // namespace

uint16_t Fit::Crc(uint16_t crc, const uint8_t* bytes, size_t size)
{
    static constexpr std::array<uint16_t, 256> Table = CrcTable();
    for (size_t i = 0; i < size; ++i) crc = static_cast<uint16_t>((crc >> 8) ^ Table[(crc ^ bytes[i]) & 0xFF]);
    return crc;
}
