#include "PythonQtConvBudget.h"

#include "PythonQtPython.h"

bool PythonQtConvBudget::spend(qsizetype elements, qsizetype bytes)
{
    if (m_exceeded)
        return false;
    m_elements += elements;
    m_bytes += bytes;
    if (m_elements <= MaxElements && m_bytes <= MaxBytes)
        return true;
    m_exceeded = true;
    PyErr_Format(PyExc_ValueError,
                 "value too large to convert: more than %zd elements or %zd bytes of text in all",
                 Py_ssize_t(MaxElements), Py_ssize_t(MaxBytes));
    return false;
}
