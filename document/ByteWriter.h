#pragma once
// Appends little-endian values to a byte buffer.

#include <QByteArray>
#include <cstdint>
#include <cstring>

class ByteWriter {
  public:
    void Byte(std::uint8_t value) { bytes.append(static_cast<char>(value)); }
    void Bool(bool value) { Byte(value ? 1 : 0); }
    void UInt32(std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            Byte(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    void Int32(std::int32_t value) { UInt32(static_cast<std::uint32_t>(value)); }
    void Float64(double value) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        for (int i = 0; i < 8; ++i)
            Byte(static_cast<std::uint8_t>(bits >> (8 * i)));
    }
    void Raw(const QByteArray& raw) { bytes.append(raw); }

    QByteArray bytes;
};
