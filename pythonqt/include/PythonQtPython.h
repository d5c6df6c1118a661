#pragma once

// The one way to include Python.h beside Qt: Python.h names a struct member "slots", which Qt
// defines as a macro, and sizes passed for "#" formats are Py_ssize_t.
#pragma push_macro("slots")
#undef slots
#define PY_SSIZE_T_CLEAN
#include <Python.h>
#pragma pop_macro("slots")
