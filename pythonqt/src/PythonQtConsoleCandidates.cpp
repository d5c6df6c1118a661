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
        // By the first letter alone: Backspace back into a word then finds what it needs.
        lookedUpPrefix = prefix.left(1);
        PythonQtGILScope lock;
        lookedUpNames = PythonQtConsoleCompletion::candidates(context, head + lookedUpPrefix);
        lookedUpWordStart = wordStart;
        lookedUpHead = head;
    }
    // The names starting with prefix are one run of the sorted list.
    const auto first = std::lower_bound(lookedUpNames.cbegin(), lookedUpNames.cend(), prefix);
    const auto last = std::partition_point(first, lookedUpNames.cend(),
                                           [&prefix](const QString& name) { return name.startsWith(prefix); });
    return QStringList(first, last);
}

void PythonQtConsoleCandidates::forget()
{
    lookedUpWordStart = -1;
}
