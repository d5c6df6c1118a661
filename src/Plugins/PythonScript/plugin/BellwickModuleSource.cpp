#include "plugin/BellwickModuleSource.h"

const char* bellwickModuleSource()
{
    return R"py(
"""The host's side for Python tools: its main window, docks for Qt widgets made in Python, and
the Qt objects that the bridge hands out as objects of a Qt for Python binding (PyQt6, or
PySide6 built for the same Qt)."""

import atexit
import os
import sys

import _bellwick

__all__ = ["qt_binding", "main_window", "add_dock", "to_pyqt", "from_pyqt"]


class Binding:
    """What the module needs of one Qt for Python binding."""

    def __init__(self, name, qt_version, QtCore, QtWidgets, wrap, unwrap, python_owned, delete):
        self.name = name
        self.qt_version = qt_version
        self.QtCore = QtCore
        self.QtWidgets = QtWidgets
        self.wrap = wrap                  # (address, class) -> object
        self.unwrap = unwrap              # object -> address
        self.python_owned = python_owned  # object -> whether Python deletes it
        self.delete = delete              # object -> None, deletes the C++ object


def _pyqt6():
    from PyQt6 import QtCore, QtWidgets, sip
    return Binding("PyQt6", QtCore.QT_VERSION_STR, QtCore, QtWidgets, sip.wrapinstance,
                   sip.unwrapinstance, sip.ispyowned, sip.delete)


def _pyside6():
    import shiboken6
    from PySide6 import QtCore, QtWidgets
    return Binding("PySide6", QtCore.__version__, QtCore, QtWidgets, shiboken6.wrapInstance,
                   lambda obj: shiboken6.getCppPointer(obj)[0], shiboken6.ownedByPython, shiboken6.delete)


# Tried in order; a PySide6 built for the host's Qt plugs in the same way.
BINDINGS = [("PyQt6", _pyqt6), ("PySide6", _pyside6)]
_binding = None


def _fits(binding, host_qt):
    built = [int(part) for part in binding.qt_version.split(".")[:2]]
    running = [int(part) for part in host_qt.split(".")[:2]]
    return built[0] == running[0] and built[1] <= running[1]


def qt_binding():
    """The binding in use; ImportError, naming both Qt versions, when none fits the host."""
    global _binding
    if _binding is not None:
        return _binding
    host_qt = _bellwick.host_qt_version()
    problems = []
    for name, factory in BINDINGS:
        try:
            binding = factory()
        except ImportError as error:
            problems.append("%s cannot be imported (%s)" % (name, error))
            continue
        if not _fits(binding, host_qt):
            problems.append("%s is built for Qt %s" % (name, binding.qt_version))
        elif binding.QtWidgets.QApplication.instance() is None:
            problems.append("%s brings a Qt %s of its own" % (name, binding.qt_version))
        else:
            _binding = binding
            return binding
    raise ImportError("No Qt for Python binding fits this host, which runs Qt %s: %s. Install PyQt6 built for "
                      "Qt %s (Debian: python3-pyqt6) where Python here looks (the preference "
                      "PYTHON_SITE_PACKAGES, or a virtual environment)." % (host_qt, "; ".join(problems), host_qt))


def main_window():
    """The host's main window as an object of the binding; None when the host shows none."""
    window = _bellwick.main_window()
    return None if window is None else to_pyqt(window)


def to_pyqt(obj):
    """The binding's object for a Qt object the bridge hands out."""
    binding = qt_binding()
    return binding.wrap(_bellwick.address(obj), binding.QtCore.QObject)


def from_pyqt(obj):
    """The bridge's object for an object of the binding; the host must know it."""
    binding = qt_binding()
    if not isinstance(obj, binding.QtCore.QObject):
        raise TypeError("from_pyqt needs a QObject of %s, not %s" % (binding.name, type(obj).__name__))
    return _bellwick.known_object(binding.unwrap(obj))


def add_dock(title, widget):
    """Docks widget in the host's main window under title, with a Window-menu entry; the host
    keeps the dock's place from run to run. A later call with the same title replaces the
    widget. Answers the dock."""
    binding = qt_binding()
    QtWidgets = binding.QtWidgets
    if not isinstance(widget, QtWidgets.QWidget):
        raise TypeError("add_dock needs a QWidget of %s, not %s" % (binding.name, type(widget).__name__))
    view = binding.wrap(_bellwick.address(_bellwick.dock_view(str(title))), QtWidgets.QWidget)
    layout = view.layout()
    if layout is None:
        layout = QtWidgets.QVBoxLayout(view)
        layout.setContentsMargins(0, 0, 0, 0)
    while layout.count():
        old = layout.takeAt(0).widget()
        if old is not None and old is not widget:
            old.deleteLater()
    layout.addWidget(widget)
    widget.show()
    dock = view
    while dock is not None and not isinstance(dock, QtWidgets.QDockWidget):
        dock = dock.parentWidget()
    if dock is not None:
        dock.show()
        dock.raise_()
        # A dock that joins a crowded side starts squeezed; it gets at least what its widget asks.
        wanted = widget.sizeHint().height()
        window = main_window()
        if window is not None and dock.height() < wanted:
            window.resizeDocks([dock], [wanted], binding.QtCore.Qt.Orientation.Vertical)
    return dock


def _answer_the_host(application_class):
    make, initialise = application_class.__new__, application_class.__init__

    # The binding wraps the existing application through these without arguments; a script's
    # QApplication(sys.argv) gets the host's.
    def new(cls, *args, **kwargs):
        return make(cls) if not args and not kwargs else application_class.instance()

    def init(self, *args, **kwargs):
        if not args and not kwargs:
            initialise(self)

    application_class.__new__ = new
    application_class.__init__ = init


def _one_application(module):
    """The host's application is the only one: constructing another answers it."""
    for name in ("QCoreApplication", "QGuiApplication", "QApplication"):
        application_class = module.__dict__.get(name)
        if application_class is not None and application_class.instance() is not None:
            _answer_the_host(application_class)
    _first_at_exit(module)


def _first_at_exit(module):
    """At exit, Python's handlers run last registered first: the widgets go before the exit
    handlers of the modules imported since (matplotlib's closes figures whose widgets are gone)."""
    atexit.unregister(_before_exit)
    atexit.register(_before_exit)


def _matplotlib_in_the_window(module):
    """In a window, figures are host windows (QtAgg) that leave the console free: interactive
    mode, so plt.show() does not block."""
    if _bellwick.main_window() is None:
        return
    try:
        qt_binding()
    except ImportError:
        return
    if "MPLBACKEND" not in os.environ:
        module.rcParams["backend"] = "QtAgg"
    module.interactive(True)


class _HostImportHooks:
    """Runs a hook on a few modules once, right after their first import."""

    hooks = {
        "PyQt6.QtCore": _one_application,
        "PyQt6.QtGui": _one_application,
        "PyQt6.QtWidgets": _one_application,
        "matplotlib": _matplotlib_in_the_window,
        "matplotlib._pylab_helpers": _first_at_exit,
    }

    @classmethod
    def find_spec(cls, name, path=None, target=None):
        hook = cls.hooks.pop(name, None)
        if hook is None:
            return None
        spec = None
        for finder in sys.meta_path:
            if finder is not cls and hasattr(finder, "find_spec"):
                spec = finder.find_spec(name, path, target)
                if spec is not None:
                    break
        if spec is None or spec.loader is None or not hasattr(spec.loader, "exec_module"):
            return spec
        run_body = spec.loader.exec_module

        def exec_module(module):
            run_body(module)
            hook(module)

        spec.loader.exec_module = exec_module
        return spec


def _before_exit():
    # Widgets made in Python go while the interpreter can still run their destructors.
    pyplot = sys.modules.get("matplotlib.pyplot")
    if pyplot is not None:
        pyplot.close("all")
    if _binding is not None:
        for widget in _binding.QtWidgets.QApplication.topLevelWidgets():
            if _binding.python_owned(widget):
                _binding.delete(widget)


sys.meta_path.insert(0, _HostImportHooks)
atexit.register(_before_exit)
)py";
}
