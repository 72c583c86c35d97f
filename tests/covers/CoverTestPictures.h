#pragma once

// Pictures the covers' tests make: hostile ones among them.
#include <QByteArray>

#include <cstdint>

namespace {

// PNG's check sum (CRC-32, as its standard gives it).
inline uint32_t pngCrc(const char* bytes, int length)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (int i = 0; i < length; ++i) {
        crc ^= static_cast<unsigned char>(bytes[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

// A PNG whose header claims a picture of the given size (its check sum mended).
inline QByteArray pngClaiming(const QByteArray& png, uint32_t width, uint32_t height)
{
    QByteArray out = png;
    const int header = out.indexOf("IHDR");
    for (int i = 0; i < 4; ++i) {
        out[header + 4 + i] = static_cast<char>(width >> (24 - 8 * i));
        out[header + 8 + i] = static_cast<char>(height >> (24 - 8 * i));
    }
    const uint32_t crc = pngCrc(out.constData() + header, 17);
    for (int i = 0; i < 4; ++i)
        out[header + 17 + i] = static_cast<char>(crc >> (24 - 8 * i));
    return out;
}

} // namespace
