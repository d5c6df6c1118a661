// Python code meets the process as a plain interpreter would, in a host running under a French
// locale: LC_NUMERIC is "C" while Qt still formats for the user; a write to a closed pipe or
// past a file size limit is an exception, not the end of the host; child processes get the
// default dispositions back; and finalising the interpreter gives the host its settings back.
#include <PythonQtPython.h>

#include "PythonQt.h"
#include "PythonQtObjectPtr.h"

#include <QApplication>
#include <QLocale>
#include <QtTest>

#include <clocale>
#include <csignal>

namespace {
const char* const frenchLocale = "fr_FR.UTF-8";
// What the host (here Qt Test, with its crash handlers) had before Python started.
struct sigaction s_hostPipe = {};
}

class tst_pythonqt_processstate : public QObject
{
    Q_OBJECT

    // Runs code in __main__; the str() of its variable `result`.
    static QString result(const QString& code)
    {
        PythonQtObjectPtr main = PythonQt::self()->getMainModule();
        main.evalScript("result = None\n" + code + "\nresult = str(result)\n", Py_file_input);
        return main.getVariable("result").toString();
    }

private slots:
    void initTestCase()
    {
        if (QByteArray(std::setlocale(LC_NUMERIC, nullptr)) != frenchLocale)
            QSKIP("the fr_FR.UTF-8 locale is not installed (scripts/setup.sh generates it)");
        sigaction(SIGPIPE, nullptr, &s_hostPipe);
        PythonQt::init(PythonQt::RedirectStdOut | PythonQt::IgnoreSiteModule);
        QVERIFY(PythonQt::self()->initSuccessfully());
    }

    // Numbers in the C locale; writes that fail raise instead of ending the process; children get
    // the default signal dispositions.
    void asAPlainInterpreter_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected");
        QTest::newRow("'{:n}'") << "result = '{:n}'.format(1234.5)" << "1234.5";
        QTest::newRow("locale.str") << "import locale\nresult = locale.str(1.5)" << "1.5";
        QTest::newRow("the C runtime's strtod") << "import ctypes\nstrtod = ctypes.CDLL(None).strtod\n"
                                                   "strtod.restype = ctypes.c_double\n"
                                                   "result = strtod(b'1.5', None)"
                                                << "1.5";
        QTest::newRow("write to a closed pipe") << "import os\nr, w = os.pipe()\nos.close(r)\n"
                                                   "try:\n    os.write(w, b'x')\nexcept BrokenPipeError as e:\n"
                                                   "    result = type(e).__name__\nos.close(w)"
                                                << "BrokenPipeError";
        QTest::newRow("write past the file size limit")
            << "import os, resource, tempfile, errno\nlimits = resource.getrlimit(resource.RLIMIT_FSIZE)\n"
               "resource.setrlimit(resource.RLIMIT_FSIZE, (10, limits[1]))\n"
               "with tempfile.TemporaryFile() as f:\n    try:\n        os.write(f.fileno(), b'x' * 10)\n"
               "        os.write(f.fileno(), b'x')\n    except OSError as e:\n        result = errno.errorcode[e.errno]\n"
               "    finally:\n        resource.setrlimit(resource.RLIMIT_FSIZE, limits)"
            << "EFBIG";
        // SigIgn of /proc/self/status: bit n-1 for signal n.
        QTest::newRow("children ignore neither") << "import subprocess, signal\n"
                                                    "status = subprocess.run(['cat', '/proc/self/status'], capture_output=True, text=True).stdout\n"
                                                    "mask = int(status.split('SigIgn:')[1].split()[0], 16)\n"
                                                    "result = mask & (1 << (signal.SIGPIPE - 1) | 1 << (signal.SIGXFSZ - 1))"
                                                 << "0";
    }

    void asAPlainInterpreter()
    {
        QFETCH(QString, code);
        QTEST(result(code), "expected");
    }

    void qtStillFormatsForTheUser() { QCOMPARE(QLocale().toString(1.5), "1,5"); }

    // Last: the interpreter goes.
    void finalisingRestoresTheHost()
    {
        PythonQt::cleanup();
        struct sigaction pipe = {};
        sigaction(SIGPIPE, nullptr, &pipe);
        QVERIFY(pipe.sa_handler == s_hostPipe.sa_handler);
        QCOMPARE(QByteArray(std::setlocale(LC_NUMERIC, nullptr)), frenchLocale);
    }
};

int main(int argc, char** argv)
{
    // As a host started by a French user: QApplication takes every category from the environment.
    qputenv("LC_ALL", frenchLocale);
    QApplication application(argc, argv);
    tst_pythonqt_processstate test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_pythonqt_processstate.moc"
