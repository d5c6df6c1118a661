#pragma once

#include "python/PyObjectPtr.h"

#include <QString>

// A new Python str with text's characters; the holder is empty when decoding fails.
PyObjectPtr toPyString(const QString& text);
// The characters of a Python str up to its first NUL; a null QString for anything else.
QString toQString(PyObject* object);
