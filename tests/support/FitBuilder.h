// Builds FIT files byte by byte for the tests and the fuzz seeds: definitions
// and data messages as given, the header and both CRCs worked out (or left
// wrong on purpose).
#pragma once

#include "untFit.h"

#include <cstdint>
#include <string>
#include <vector>

// Little-endian bytes of a value.
inline std::string FitBytes(uint64_t value, int size)
{
    std::string bytes;
    for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> (8 * i));
    return bytes;
}

class TFitBuilder {
public:
    struct TField {
        uint8_t Number, Size, Type; // for a developer field: number, size, developer data index
    };

    TFitBuilder& Define(uint8_t local, uint16_t global, const std::vector<TField>& fields,
                        const std::vector<TField>& developer = {}, bool bigEndian = false)
    {
        Data += static_cast<char>(Fit::DefinitionHeader | (developer.empty() ? 0 : Fit::DeveloperDataFlag) | local);
        Data += '\0';
        Data += static_cast<char>(bigEndian ? 1 : 0);
        Data += bigEndian ? std::string{static_cast<char>(global >> 8), static_cast<char>(global)} : FitBytes(global, 2);
        Data += static_cast<char>(fields.size());
        for (const TField& field : fields) Data += std::string{char(field.Number), char(field.Size), char(field.Type)};
        if (developer.empty()) return *this;
        Data += static_cast<char>(developer.size());
        for (const TField& field : developer) Data += std::string{char(field.Number), char(field.Size), char(field.Type)};
        return *this;
    }
    // A data message of local type local whose fields' bytes are bytes.
    TFitBuilder& Message(uint8_t local, const std::string& bytes)
    {
        Data += static_cast<char>(local) + bytes;
        return *this;
    }
    // A data message with a compressed timestamp: five bits of time offset.
    TFitBuilder& Compressed(uint8_t local, uint8_t offset, const std::string& bytes)
    {
        Data += static_cast<char>(0x80 | (local & 3) << 5 | (offset & 0x1F)) + bytes;
        return *this;
    }
    // The description of developer field number of data index 0.
    TFitBuilder& Describe(uint8_t local, uint8_t number, uint8_t type, const std::string& name, uint8_t scale = 1)
    {
        Define(local, Fit::FieldDescriptionMessage,
               {{0, 1, Fit::Uint8}, {1, 1, Fit::Uint8}, {2, 1, Fit::Uint8},
                {3, static_cast<uint8_t>(name.size() + 1), Fit::String}, {6, 1, Fit::Uint8}});
        return Message(local, std::string{'\0', char(number), char(type)} + name + '\0' + char(scale));
    }

    // The whole file: a 14-byte header, the data, the CRC.
    std::string Bytes() const
    {
        std::string header = std::string{char(Fit::HeaderSize), char(Fit::ProtocolVersion)}
                             + FitBytes(Fit::ProfileVersion, 2) + FitBytes(Data.size(), 4) + ".FIT";
        header += FitBytes(Crc(header), 2);
        const std::string file = header + Data;
        return file + FitBytes(Crc(file), 2);
    }

    std::string Data;

private:
    static uint16_t Crc(const std::string& bytes)
    {
        return Fit::Crc(0, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
};
