#include <PythonQtPython.h>

#include "plugin/PythonSiteDirectories.h"

#include "python/PyObjectPtr.h"
#include "python/PyStringConversion.h"
#include "python/PythonLockScope.h"

#include <BAPP_SharedSpecialFolders.h>
#include <MSG_Action.h>
#include <MSG_Scope.h>
#include <PR_Preference.h>
#include <SCP_PythonFinder.h>

#include <QCoreApplication>

namespace {

// Runs in a namespace of its own, kept alive by the error class it installs. site's functions
// are used without site's main(): no user site, no sitecustomize, nothing from the environment.
const char* const siteSource = R"py(
import _frozen_importlib
import importlib.machinery
import os
import site
import sys


def _known():
    return {site.makepath(entry)[1] for entry in sys.path if os.path.exists(entry)}


def _venv_version(folder):
    try:
        with open(os.path.join(folder, "pyvenv.cfg"), encoding="utf-8") as config:
            for line in config:
                key, _, value = line.partition("=")
                if key.strip() in ("version", "version_info"):
                    return ".".join(value.strip().split(".")[:2])
    except OSError:
        return None
    return ""


def _venv_site_packages(folder):
    if os.name == "nt":
        return os.path.join(folder, "Lib", "site-packages")
    return os.path.join(folder, "lib", "python%d.%d" % sys.version_info[:2], "site-packages")


def _hint(name):
    name = (name or "").partition(".")[0]
    for folder in _switched_off if name else []:
        if importlib.machinery.PathFinder.find_spec(name, [folder]) is not None:
            return ("Hint: %r is installed in %s, which Python here does not search; switch on the "
                    "preference PYTHON_SITE_PACKAGES (or run bellwick with --site-packages) to use it."
                    % (name, folder))
    return None


class _ModuleNotFoundError(ModuleNotFoundError):
    """What a failed import raises here: the usual error, which names the folder left off that
    holds the module, wherever the traceback is printed (console, jobs, the host's log)."""

    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self._hint = _hint(self.name)
        if self._hint and hasattr(self, "add_note"):
            self.add_note(self._hint)

    def __str__(self):
        text = super().__str__()
        return text + "\n" + self._hint if self._hint and not hasattr(self, "add_note") else text


_ModuleNotFoundError.__name__ = _ModuleNotFoundError.__qualname__ = "ModuleNotFoundError"
_ModuleNotFoundError.__module__ = "builtins"


def setup(add_on_folder, venv, site_packages):
    global _switched_off
    refusals = []
    if add_on_folder and os.path.isdir(add_on_folder):
        # The folder itself joins the path elsewhere, first; here only its .pth files count.
        site.addsitedir(add_on_folder, _known() | {site.makepath(add_on_folder)[1]})
    if venv:
        venv = os.path.abspath(venv)
        version = _venv_version(venv)
        if version == "%d.%d" % sys.version_info[:2]:
            site.addsitedir(_venv_site_packages(venv), _known())
        else:
            refusals.append((venv, version))
    installed = [folder for folder in site.getsitepackages() if os.path.isdir(folder)]
    if site_packages:
        for folder in installed:
            site.addsitedir(folder, _known())
    _switched_off = [] if site_packages else installed
    # The import system looks the class up in its own module first.
    _frozen_importlib.ModuleNotFoundError = _ModuleNotFoundError
    return refusals
)py";

// version: what the venv's pyvenv.cfg names; null without the file, empty when it names none.
QString refusal(const QString& venv, const QString& version)
{
    if (version.isNull())
        return QCoreApplication::translate("PythonScript", "The virtual environment %1 is not used: it has no pyvenv.cfg.").arg(venv);
    if (version.isEmpty())
        return QCoreApplication::translate("PythonScript", "The virtual environment %1 is not used: its pyvenv.cfg names no Python version.").arg(venv);
    return QCoreApplication::translate("PythonScript", "The virtual environment %1 is not used: it was made for Python %2, and Python %3 runs here.")
        .arg(venv, version, QStringLiteral("%1.%2").arg(PY_MAJOR_VERSION).arg(PY_MINOR_VERSION));
}

void report(const QString& text)
{
    SCP_PythonFinder::logPythonInit(text);
    MSG_Scope message(text, MSG_Action::Error);
}

} // namespace

PythonSiteDirectories::PythonSiteDirectories()
    : m_addOnFolder(BAPP_SharedSpecialFolders() + QStringLiteral("/python-packages"))
    , m_virtualEnv(lxPref.getStringValue(QStringLiteral("PYTHON_VIRTUAL_ENV")))
    , m_sitePackages(lxPref.getBoolValue(QStringLiteral("PYTHON_SITE_PACKAGES"), false))
{
}

void PythonSiteDirectories::apply() const
{
    for (const QString& refusal : run())
        report(refusal);
}

QStringList PythonSiteDirectories::run() const
{
    PythonLockScope lock;
    QStringList refusals;
    const PyObjectPtr globals(PyDict_New(), false);
    PyDict_SetItemString(globals.object(), "__builtins__", PyEval_GetBuiltins());
    const PyObjectPtr done(PyRun_String(siteSource, Py_file_input, globals.object(), globals.object()), false);
    PyObject* setup = done.object() ? PyDict_GetItemString(globals.object(), "setup") : nullptr;
    const PyObjectPtr addOnFolder = toPyString(m_addOnFolder);
    const PyObjectPtr venv = toPyString(m_virtualEnv);
    const PyObjectPtr answer(setup ? PyObject_CallFunctionObjArgs(setup, addOnFolder.object(), venv.object(),
                                                                  m_sitePackages ? Py_True : Py_False, nullptr)
                                   : nullptr,
                             false);
    if (!answer.object()) {
        PyErr_Print();
        return refusals;
    }
    const Py_ssize_t count = PyList_Check(answer.object()) ? PyList_Size(answer.object()) : 0;
    for (Py_ssize_t i = 0; i < count; ++i) {
        PyObject* venvAndVersion = PyList_GetItem(answer.object(), i);
        refusals.append(refusal(toQString(PyTuple_GetItem(venvAndVersion, 0)), toQString(PyTuple_GetItem(venvAndVersion, 1))));
    }
    return refusals;
}
