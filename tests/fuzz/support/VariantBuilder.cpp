#include "support/VariantBuilder.h"

#include "support/FuzzBytes.h"

#include <QVariantList>
#include <QVariantMap>

namespace {
constexpr int maxNodes = 256;
constexpr int maxItems = 8;
constexpr int maxText = 32;
}

VariantBuilder::VariantBuilder(FuzzBytes& bytes)
    : bytes(bytes)
{
}

QVariant VariantBuilder::build()
{
    nodes = 0;
    return value();
}

QString VariantBuilder::string()
{
    const QByteArray raw = bytes.bytes(maxText);
    // Raw UTF-16 units, so that lone surrogates occur.
    return QString(reinterpret_cast<const QChar*>(raw.constData()), raw.size() / 2);
}

QVariant VariantBuilder::value()
{
    if (++nodes > maxNodes || bytes.atEnd())
        return QVariant();
    switch (bytes.byte() % 11) {
    case 0:
        return QVariant();
    case 1:
        return bytes.byte() % 2 == 1;
    case 2:
        return static_cast<int>(bytes.integer());
    case 3:
        return static_cast<qlonglong>(bytes.integer());
    case 4:
        return static_cast<qulonglong>(bytes.integer());
    case 5:
        return bytes.real();
    case 6:
        return string();
    case 7:
        return bytes.bytes(maxText);
    case 8: {
        QStringList strings;
        for (int i = bytes.byte() % maxItems; i > 0; --i)
            strings << string();
        return strings;
    }
    case 9: {
        QVariantList list;
        for (int i = bytes.byte() % maxItems; i > 0; --i)
            list << value();
        return list;
    }
    default: {
        QVariantMap map;
        for (int i = bytes.byte() % maxItems; i > 0; --i) {
            const QString key = string();
            map.insert(key, value());
        }
        return map;
    }
    }
}
