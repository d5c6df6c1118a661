#pragma once

#include "PythonQtPython.h"

#include <QStringList>

// The completion candidates of the word being typed, looked up in Python once per word: while
// the word grows (or shrinks back to what was looked up) the names are filtered from the first
// lookup. Running code may change every namespace, so the console forgets them then.
class PythonQtConsoleCandidates
{
public:
    // As PythonQtConsoleCompletion::candidates(context, dottedName), for a dotted name whose
    // last part starts at document position wordStart. Takes the interpreter lock when it asks
    // Python.
    QStringList find(PyObject* context, const QString& dottedName, int wordStart);
    void forget();

private:
    int lookedUpWordStart = -1;
    QString lookedUpHead;
    QString lookedUpPrefix;
    QStringList lookedUpNames; // sorted
};
