#pragma once

#include <QByteArray>

// Whether a fuzzed Python source is fit to run: short, and without the words through which it
// could loop, catch the time limit's interrupt, reach the disk or other modules, or escape
// those checks by building names at run time.
bool isRunnableSource(const QByteArray& source);
