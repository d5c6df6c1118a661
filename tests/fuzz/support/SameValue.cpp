#include "support/SameValue.h"

#include <QVariantList>
#include <QVariantMap>

#include <cstring>

namespace {
bool sameLists(const QVariantList& a, const QVariantList& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (!sameValue(a[i], b[i]))
            return false;
    }
    return true;
}

bool sameMaps(const QVariantMap& a, const QVariantMap& b)
{
    if (a.keys() != b.keys())
        return false;
    for (auto it = a.cbegin(); it != a.cend(); ++it) {
        if (!sameValue(it.value(), b.value(it.key())))
            return false;
    }
    return true;
}
}

bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.userType() != b.userType())
        return false;
    switch (a.userType()) {
    case QMetaType::QVariantList:
        return sameLists(a.toList(), b.toList());
    case QMetaType::QVariantMap:
        return sameMaps(a.toMap(), b.toMap());
    case QMetaType::Double: {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    default:
        return a == b;
    }
}
