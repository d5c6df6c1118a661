#pragma once

// Python.h names a struct member "slots", which Qt defines as a macro.
#pragma push_macro("slots")
#undef slots
#include <Python.h>
#pragma pop_macro("slots")
