#pragma once

#include <QByteArray>

// Python sources that a host may be handed by mistake or by a hostile file. Those with a
// function define f(), whose answer the comment gives.
namespace MalformedSources {
QByteArray empty();
QByteArray byteOrderMarkOnly();
QByteArray byteOrderMarkThenCode(); // f() == 1
QByteArray latin1Bytes();           // no coding line: not UTF-8
QByteArray latin1WithCodingLine();  // f() == "café"
QByteArray nulByte();               // a complete f, then a NUL, then g
QByteArray carriageReturnsOnly();   // f() == 2
QByteArray noFinalLineFeed();       // f() == 3
QByteArray tenMegabytes();          // f() == 4
QByteArray deepParentheses();
QByteArray deepIndentation();
QByteArray deepUnaryChain();
QByteArray systemExitAfterF();      // f() == 1, then SystemExit(3)
QByteArray keyboardInterrupt();
QByteArray endlessRecursionAfterF(); // f() == 1, then RecursionError
QByteArray deletesItselfFromSysModules(); // f() == 5
}
