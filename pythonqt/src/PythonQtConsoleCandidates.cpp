#include "PythonQtConsoleCandidates.h"

#include "PythonQtConsoleCompletion.h"
#include "PythonQtThreadSupport.h"

#include <algorithm>

QStringList PythonQtConsoleCandidates::find(PyObject* context, const QString& dottedName, int wordStart)
{
    const qsizetype partStart = dottedName.lastIndexOf(QLatin1Char('.')) + 1;
    const QString head = dottedName.left(partStart);
    const QString prefix = dottedName.mid(partStart);
    if (wordStart != lookedUpWordStart || head != lookedUpHead || !prefix.startsWith(lookedUpPrefix)) {
        PythonQtGILScope lock;
        lookedUpNames = PythonQtConsoleCompletion::candidates(context, dottedName);
        lookedUpWordStart = wordStart;
        lookedUpHead = head;
        lookedUpPrefix = prefix;
        return lookedUpNames;
    }
    // The names starting with prefix are one run of the sorted list.
    auto first = std::lower_bound(lookedUpNames.cbegin(), lookedUpNames.cend(), prefix);
    auto last = first;
    while (last != lookedUpNames.cend() && last->startsWith(prefix))
        ++last;
    return QStringList(first, last);
}

void PythonQtConsoleCandidates::forget()
{
    lookedUpWordStart = -1;
}
