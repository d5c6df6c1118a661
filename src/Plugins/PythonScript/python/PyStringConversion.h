#pragma once

#include "python/PyObjectPtr.h"

#include <QByteArray>
#include <QString>

// A new Python str with text's characters; the holder is empty when decoding fails.
PyObjectPtr toPyString(const QString& text);
// The characters of a Python str up to its first NUL; a null QString for anything else.
QString toQString(PyObject* object);
// Whether source can go to the C API's compilers, which read it as a C string: a NUL byte would
// silently cut the code short there, so it is refused with a SyntaxError set instead, as
// compile() does. The caller holds the interpreter lock.
bool isCompilableSource(const QByteArray& source);
