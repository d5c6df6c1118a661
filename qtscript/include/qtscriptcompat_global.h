#pragma once

#include <QtCore/qglobal.h>

#if defined(QTSCRIPTCOMPAT_LIBRARY)
#define QTSCRIPTCOMPAT_EXPORT __attribute__((visibility("default")))
#else
#define QTSCRIPTCOMPAT_EXPORT
#endif

typedef double qsreal;
