#include "support/FuzzBytes.h"

#include <cstring>

FuzzBytes::FuzzBytes(const uint8_t* data, size_t size)
    : data(data)
    , size(size)
{
}

uint8_t FuzzBytes::byte()
{
    return atEnd() ? 0 : data[position++];
}

int64_t FuzzBytes::integer()
{
    uint64_t value = 0;
    for (int i = 0; i < 8; ++i)
        value = value << 8 | byte();
    int64_t result;
    std::memcpy(&result, &value, sizeof result);
    return result;
}

double FuzzBytes::real()
{
    const int64_t bits = integer();
    double result;
    std::memcpy(&result, &bits, sizeof result);
    return result;
}

QByteArray FuzzBytes::bytes(int maxLength)
{
    const int length = byte() % (maxLength + 1);
    QByteArray result;
    for (int i = 0; i < length && !atEnd(); ++i)
        result.append(static_cast<char>(byte()));
    return result;
}
