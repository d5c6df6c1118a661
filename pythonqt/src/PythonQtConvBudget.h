#pragma once

#include <QtGlobal>

// What one conversion may produce in all: a value past these limits is refused with a Python
// ValueError instead of growing until the process runs out of memory.
class PythonQtConvBudget
{
public:
    static constexpr qsizetype MaxElements = 4 * 1024 * 1024;
    static constexpr qsizetype MaxBytes = 128 * 1024 * 1024;

    // Counts a container's elements or a text's bytes; false, with the error set once, when the
    // total goes past a limit.
    bool spend(qsizetype elements, qsizetype bytes);
    bool exceeded() const { return m_exceeded; }

private:
    qsizetype m_elements = 0;
    qsizetype m_bytes = 0;
    bool m_exceeded = false;
};
