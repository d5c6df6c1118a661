#include <PythonQtPython.h>

#include "plugin/BellwickModule.h"

#include "plugin/BellwickModuleSource.h"
#include "plugin/PythonToolDocks.h"
#include "python/PyObjectPtr.h"
#include "python/PyStringConversion.h"
#include "python/PythonLockScope.h"

#include <BUIAPP_Application.h>
#include <PythonQt.h>
#include <PythonQtConv.h>

#include <QApplication>
#include <QThread>
#include <QWidget>

#include <algorithm>

namespace {

// Widgets and docks belong to the main thread.
bool onMainThread()
{
    if (qApp && QThread::currentThread() == qApp->thread())
        return true;
    PyErr_SetString(PyExc_RuntimeError, "the host's windows can only be used from its main thread");
    return false;
}

PyObject* wrapped(QObject* object)
{
    return PythonQtConv::QVariantToPyObject(QVariant::fromValue(object));
}

PyObject* hostQtVersion(PyObject*, PyObject*)
{
    return PyUnicode_FromString(qVersion());
}

PyObject* mainWindow(PyObject*, PyObject*)
{
    BUIAPP_Application* application = BUIAPP_Application::instance();
    return wrapped(application ? application->mainWidget() : nullptr);
}

PyObject* address(PyObject*, PyObject* object)
{
    const QVariant value = PythonQtConv::PyObjToQVariant(object);
    QObject* qobject = value.metaType() == QMetaType::fromType<QObject*>() ? value.value<QObject*>() : nullptr;
    if (!qobject) {
        PyErr_Clear();
        PyErr_Format(PyExc_TypeError, "expected a live Qt object of the host, not %s", Py_TYPE(object)->tp_name);
        return nullptr;
    }
    return PyLong_FromVoidPtr(qobject);
}

// Only objects the host knows are turned back: an address is compared, never followed, until
// it is known to be a live QObject.
PyObject* knownObject(PyObject*, PyObject* number)
{
    auto* candidate = static_cast<QObject*>(PyLong_AsVoidPtr(number));
    if (PyErr_Occurred())
        return nullptr;
    const QWidgetList widgets = QApplication::allWidgets();
    // Compared as QObject pointers: the candidate is not known to be a widget.
    const auto isCandidate = [candidate](const QWidget* widget) { return static_cast<const QObject*>(widget) == candidate; };
    const bool known = PythonQt::hasWrapper(candidate) || std::any_of(widgets.cbegin(), widgets.cend(), isCandidate)
        || (qApp && (candidate == qApp || qApp->findChildren<QObject*>().contains(candidate)));
    if (!known) {
        PyErr_SetString(PyExc_ValueError, "not a Qt object the host knows");
        return nullptr;
    }
    return wrapped(candidate);
}

PyObject* dockView(PyObject*, PyObject* title)
{
    if (!onMainThread())
        return nullptr;
    const QString text = toQString(title);
    if (text.isNull()) {
        PyErr_SetString(PyExc_TypeError, "a dock's title is a str");
        return nullptr;
    }
    QString error;
    QWidget* view = PythonToolDocks::view(text, &error);
    if (!view) {
        PyErr_SetString(PyExc_RuntimeError, error.toUtf8().constData());
        return nullptr;
    }
    return wrapped(view);
}

PyMethodDef nativeFunctions[] = {
    {"host_qt_version", hostQtVersion, METH_NOARGS, "The Qt version the host runs."},
    {"main_window", mainWindow, METH_NOARGS, "The host's main window, None without one."},
    {"address", address, METH_O, "The address of a Qt object of the host."},
    {"known_object", knownObject, METH_O, "The Qt object of the host at an address."},
    {"dock_view", dockView, METH_O, "The view of the tool dock with this title, made on first use."},
    {nullptr, nullptr, 0, nullptr},
};

PyModuleDef nativeModule = {PyModuleDef_HEAD_INIT, "_bellwick", "The host's native side of bellwick.", -1, nativeFunctions,
                            nullptr, nullptr, nullptr, nullptr};

bool installNative()
{
    const PyObjectPtr module(PyModule_Create(&nativeModule), false);
    return module.object() && PyDict_SetItemString(PyImport_GetModuleDict(), "_bellwick", module.object()) == 0;
}

bool installPython()
{
    const PyObjectPtr code(Py_CompileString(bellwickModuleSource(), "<bellwick>", Py_file_input), false);
    const PyObjectPtr module(code.object() ? PyImport_ExecCodeModule("bellwick", code.object()) : nullptr, false);
    return module.object() != nullptr;
}

} // namespace

void BellwickModule::install()
{
    PythonLockScope lock;
    if (!installNative() || !installPython())
        PyErr_Print();
}
