#include "support/MalformedSources.h"

namespace MalformedSources {

QByteArray empty()
{
    return QByteArray();
}

QByteArray byteOrderMarkOnly()
{
    return "\xEF\xBB\xBF";
}

QByteArray byteOrderMarkThenCode()
{
    return "\xEF\xBB\xBF" "def f():\n    return 1\n";
}

QByteArray latin1Bytes()
{
    return "def f():\n    return 'caf\xE9'\n";
}

QByteArray latin1WithCodingLine()
{
    return "# -*- coding: latin-1 -*-\n" + latin1Bytes();
}

QByteArray nulByte()
{
    return QByteArray("def f():\n    return 1\n") + '\0' + "def g():\n    return 2\n";
}

QByteArray carriageReturnsOnly()
{
    return "a = 1\rdef f():\r    return a + 1\r";
}

QByteArray noFinalLineFeed()
{
    return "def f():\n    return 3";
}

QByteArray tenMegabytes()
{
    const QByteArray line = "# " + QByteArray(97, 'x') + "\n";
    return line.repeated(10 * 1024 * 1024 / line.size()) + "def f():\n    return 4\n";
}

QByteArray deepParentheses()
{
    return "x = " + QByteArray(1000, '(') + "1" + QByteArray(1000, ')') + "\n";
}

QByteArray deepIndentation()
{
    QByteArray source;
    for (int level = 0; level < 120; ++level)
        source += QByteArray(level, ' ') + "if True:\n";
    return source + QByteArray(120, ' ') + "pass\n";
}

QByteArray deepUnaryChain()
{
    return "x = " + QByteArray(100000, '-') + "1\n";
}

QByteArray systemExitAfterF()
{
    return "def f():\n    return 1\nraise SystemExit(3)\n";
}

QByteArray keyboardInterrupt()
{
    return "raise KeyboardInterrupt\n";
}

QByteArray endlessRecursionAfterF()
{
    return "def f():\n    return 1\ndef r(n):\n    return r(n + 1)\nr(0)\n";
}

QByteArray deletesItselfFromSysModules()
{
    return "import sys\ndel sys.modules[__name__]\ndef f():\n    return 5\n";
}

}
