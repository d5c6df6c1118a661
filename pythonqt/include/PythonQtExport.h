#pragma once

#if defined(PYTHONQT_LIBRARY)
#define PYTHONQT_EXPORT __attribute__((visibility("default")))
#else
#define PYTHONQT_EXPORT
#endif

// CPython's object type, declared without Python.h so that users of this layer need not
// include it first.
struct _object;
typedef struct _object PyObject;
