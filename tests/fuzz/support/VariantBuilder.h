#pragma once

#include <QVariant>

class FuzzBytes;

// A nested variant read off fuzz bytes: invalid, bools, numbers, strings (lone surrogates
// included), byte arrays, lists and maps, at most maxNodes values in all.
class VariantBuilder
{
public:
    explicit VariantBuilder(FuzzBytes& bytes);

    QVariant build();

private:
    QVariant value();
    QString string();

    FuzzBytes& bytes;
    int nodes = 0;
};
