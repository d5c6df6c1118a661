#pragma once

#include "PythonQtPython.h"

#include <QStringList>

// Names that complete a dotted name typed at the console. The caller holds the interpreter lock.
class PythonQtConsoleCompletion
{
public:
    // The dotted name that ends text ("os.pa" in "x = os.pa"); empty when text does not end in one.
    static QString dottedNameBefore(const QString& text);
    // For "a.b.pre": the attributes of a.b starting with "pre"; for a bare "pre": the names of
    // context, builtins and keywords starting with it. Each name once, in the order found (sorting
    // a library's names costs more than a frame); only attribute access is used and no error is
    // left behind. Names that known, the candidates of an earlier call, lists in the same
    // order are shared with it.
    static QStringList candidates(PyObject* context, const QString& dottedName, const QStringList& known = {});
    // In QStringList::sort()'s order.
    static void sortNames(QStringList& names);
};
