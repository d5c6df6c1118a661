#pragma once

#include <QVariant>

// Whether two converted values are alike: lists and maps item by item, doubles by bits
// (so that NaN equals NaN), anything else by QVariant's equality.
bool sameValue(const QVariant& a, const QVariant& b);
