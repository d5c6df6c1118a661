#include "oswRemapPath.h"

#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QPair>

namespace {

struct Mappings
{
    QMutex mutex;
    QList<QPair<QString, QString>> prefixes;
};

Mappings& mappings()
{
    static Mappings table;
    return table;
}

} // namespace

QString oswRemapPath::RemapPath2(const QString& path)
{
    Mappings& table = mappings();
    QMutexLocker lock(&table.mutex);
    const QPair<QString, QString>* best = nullptr;
    for (const auto& mapping : std::as_const(table.prefixes)) {
        if (path.startsWith(mapping.first) && (!best || mapping.first.size() > best->first.size()))
            best = &mapping;
    }
    return best ? best->second + path.mid(best->first.size()) : path;
}

void oswRemapPath::addMapping(const QString& from, const QString& to)
{
    if (from.isEmpty())
        return;
    Mappings& table = mappings();
    QMutexLocker lock(&table.mutex);
    table.prefixes.append({from, to});
}

void oswRemapPath::clearMappings()
{
    Mappings& table = mappings();
    QMutexLocker lock(&table.mutex);
    table.prefixes.clear();
}
