#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// Reads values off a fuzz input front to back; once the bytes run out every read gives zero,
// so that a builder always ends.
class FuzzBytes
{
public:
    FuzzBytes(const uint8_t* data, size_t size);

    bool atEnd() const { return position >= size; }
    uint8_t byte();
    int64_t integer();
    double real();
    // Up to maxLength bytes, the length read first.
    QByteArray bytes(int maxLength);

private:
    const uint8_t* data;
    size_t size;
    size_t position = 0;
};
