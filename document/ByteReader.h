#pragma once
// Reads little-endian values from a byte buffer. Every read checks that the
// bytes are there: a read past the end returns false and leaves the position.

#include <QByteArrayView>
#include <cstdint>
#include <cstring>

class ByteReader {
  public:
    explicit ByteReader(QByteArrayView bytes) : data(bytes) {}

    qsizetype Remaining() const { return data.size() - pos; }
    bool AtEnd() const { return pos >= data.size(); }
    qsizetype Position() const { return pos; }

    bool Byte(std::uint8_t& value) {
        if (Remaining() < 1) return false;
        value = static_cast<std::uint8_t>(data[pos++]);
        return true;
    }
    // 0 is false, any other byte true.
    bool Bool(bool& value) {
        std::uint8_t b = 0;
        if (!Byte(b)) return false;
        value = b != 0;
        return true;
    }
    bool UInt32(std::uint32_t& value) {
        if (Remaining() < 4) return false;
        value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | static_cast<std::uint8_t>(data[pos + i]);
        pos += 4;
        return true;
    }
    bool Int32(std::int32_t& value) {
        std::uint32_t u = 0;
        if (!UInt32(u)) return false;
        value = static_cast<std::int32_t>(u);
        return true;
    }
    bool Float64(double& value) {
        if (Remaining() < 8) return false;
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = (bits << 8) | static_cast<std::uint8_t>(data[pos + i]);
        std::memcpy(&value, &bits, sizeof value);
        pos += 8;
        return true;
    }
    // The next n bytes, which stay inside the buffer handed to the constructor.
    bool Bytes(qsizetype n, QByteArrayView& out) {
        if (n < 0 || Remaining() < n) return false;
        out = data.sliced(pos, n);
        pos += n;
        return true;
    }

  private:
    QByteArrayView data;
    qsizetype pos = 0;
};
