#pragma once

// Python.h first: Qt defines "slots" as a macro.
#include <PythonQtPython.h>

#include "PythonQt.h"

#include <QTest>

// Base of the layer's test cases: the interpreter started as the plug-in starts it (output
// redirected, no site module, threads started), its __main__, and checks written in Python.
class PythonQtTestCase : public QObject
{
    Q_OBJECT

protected:
    // The value of an expression evaluated in __main__.
    QVariant value(const QString& expression) { return main.evalScript(expression, Py_eval_input); }
    bool python(const QString& expression) { return value(expression).toBool(); }
    // "Type: message" of what the statement raises, empty when it raises nothing.
    QString pythonError(const QString& statement) { return main.call("error_of", {statement}).toString(); }

    PythonQtObjectPtr main;

private slots:
    void initTestCase()
    {
        PythonQt::init(PythonQt::RedirectStdOut | PythonQt::IgnoreSiteModule);
        QVERIFY2(PythonQt::self()->initSuccessfully(), qPrintable(PythonQt::self()->initError()));
        PythonQt::self()->startThreads();
        main = PythonQt::self()->getMainModule();
        main.evalScript("def error_of(code):\n    try:\n        exec(code)\n    except Exception as e:\n"
                        "        return type(e).__name__ + ': ' + str(e)\n    return ''\n");
    }
};
