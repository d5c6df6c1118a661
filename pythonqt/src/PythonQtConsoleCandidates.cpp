#include "PythonQtConsoleCandidates.h"

#include "PythonQtConsoleCompletion.h"
#include "PythonQtThreadSupport.h"

#include <cstring>

QStringList PythonQtConsoleCandidates::find(PyObject* context, const QString& dottedName, int wordStart)
{
    const qsizetype partStart = dottedName.lastIndexOf(QLatin1Char('.')) + 1;
    const QString head = dottedName.left(partStart);
    const QString prefix = dottedName.mid(partStart);
    if (needsLookup(dottedName, wordStart)) {
        // By the first letter alone: Backspace back into a word then finds what it needs. The
        // same names looked up for another word are shared, not made again.
        const QString letter = prefix.left(1);
        const bool sameNames = head == lookedUpHead && letter == lookedUpPrefix;
        lookedUpPrefix = letter;
        PythonQtGILScope lock;
        lookedUpNames = PythonQtConsoleCompletion::candidates(context, head + lookedUpPrefix,
                                                              sameNames ? lookedUpNames : QStringList());
        lookedUpWordStart = wordStart;
        lookedUpHead = head;
    }
    if (prefix == lookedUpPrefix)
        return lookedUpNames;
    // Compared inline: a library's names number tens of thousands, and this is done per key.
    const size_t prefixBytes = size_t(prefix.size()) * sizeof(QChar);
    QStringList matching;
    matching.reserve(lookedUpNames.size());
    for (const QString& name : std::as_const(lookedUpNames)) {
        if (name.size() >= prefix.size() && std::memcmp(name.constData(), prefix.constData(), prefixBytes) == 0)
            matching.append(name);
    }
    if (matching.capacity() > 2 * matching.size())
        matching.squeeze();
    return matching;
}

bool PythonQtConsoleCandidates::needsLookup(const QString& dottedName, int wordStart) const
{
    const qsizetype partStart = dottedName.lastIndexOf(QLatin1Char('.')) + 1;
    return wordStart != lookedUpWordStart || QStringView(dottedName).left(partStart) != lookedUpHead
        || !QStringView(dottedName).mid(partStart).startsWith(lookedUpPrefix);
}

void PythonQtConsoleCandidates::forget()
{
    lookedUpWordStart = -1;
}
