#pragma once

// Python.h names a struct member "slots", which Qt defines as a macro; include it through here.
#pragma push_macro("slots")
#undef slots
#define PY_SSIZE_T_CLEAN
#include <Python.h>
#pragma pop_macro("slots")
