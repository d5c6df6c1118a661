#pragma once

#include "BellwickHostExport.h"

#include <QString>

// Host path remapping: identity unless prefix mappings are configured.
class BELLWICK_HOST_EXPORT oswRemapPath
{
public:
    static QString RemapPath2(const QString& path);
    // Paths that start with from are rewritten to start with to; the longest match wins.
    static void addMapping(const QString& from, const QString& to);
    static void clearMappings();
};
