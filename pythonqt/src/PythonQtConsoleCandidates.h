#pragma once

#include "PythonQtPython.h"

#include <QStringList>

// The completion candidates of the word being typed, looked up in Python once per word (the
// names starting with its first letter): while the word grows or shrinks they are filtered
// from that lookup, keeping its order and sharing its strings. Running code may change every
// namespace, so the console forgets them then.
class PythonQtConsoleCandidates
{
public:
    // As PythonQtConsoleCompletion::candidates(context, dottedName), for a dotted name whose
    // last part starts at document position wordStart. Takes the interpreter lock when it asks
    // Python.
    QStringList find(PyObject* context, const QString& dottedName, int wordStart);
    // Whether find() would ask Python.
    bool needsLookup(const QString& dottedName, int wordStart) const;
    void forget();

private:
    int lookedUpWordStart = -1;
    QString lookedUpHead;
    QString lookedUpPrefix;
    QStringList lookedUpNames;
};
