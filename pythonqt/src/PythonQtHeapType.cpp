#include "PythonQtHeapType.h"

#include "PythonQtThreadStates.h"

PyTypeObject* PythonQtHeapType::type()
{
    if (PyTypeObject* current = existing())
        return current;
    m_type = reinterpret_cast<PyTypeObject*>(PyType_FromSpec(&m_spec));
    m_generation = PythonQtThreadStates::generation();
    return m_type;
}

PyTypeObject* PythonQtHeapType::existing() const
{
    return m_generation == PythonQtThreadStates::generation() ? m_type : nullptr;
}

PyObject* PythonQtHeapType::alloc()
{
    PyTypeObject* heapType = type();
    return heapType ? PyType_GenericAlloc(heapType, 0) : nullptr;
}

void PythonQtHeapType::free(PyObject* self)
{
    PyTypeObject* heapType = Py_TYPE(self);
    heapType->tp_free(self);
    Py_DECREF(heapType);
}
