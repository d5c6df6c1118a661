#include "PythonQtPrivateModule.h"

#include "PythonQtThreadStates.h"

const char* const PythonQtPrivateModule::fileName = "<pythonqt>";

namespace {

const char* const moduleName = "_pythonqt";

// Written in Python so that the streams are io.TextIOBase subclasses, with line iteration,
// writelines() and readlines() as for any text stream.
const char* const moduleSource = R"PY(
import builtins as _builtins, codecs as _codecs, io as _io, os as _os, sys as _sys


# Modules importlib loads keep _initializing = False on their spec. builtins, made before
# importlib, has none, so each sys.displayhook call (every expression the console runs, every
# statement of a loop typed there) raised and dropped an AttributeError looking it up.
if not hasattr(_builtins.__spec__, '_initializing'):
    _builtins.__spec__._initializing = False


def _fd_exists(fd):
    try:
        _os.fstat(fd)
        return True
    except (OSError, TypeError):
        return False


class _BinaryWriter(_io.BufferedIOBase):
    """The bytes side of a text stream: decoded, then written as text."""

    def __init__(self, text):
        self._text = text
        self._decoder = _codecs.getincrementaldecoder(text.encoding)(text.errors)

    def writable(self):
        return True

    def write(self, data):
        data = bytes(data)
        self._text.write(self._decoder.decode(data))
        return len(data)

    def flush(self):
        pass

    def fileno(self):
        return self._text.fileno()

    def isatty(self):
        return False

    def close(self):
        pass


class OutputStream(_io.TextIOBase):
    """sys.stdout or sys.stderr of the host: the text goes to its console or its log."""

    encoding = 'utf-8'
    errors = 'backslashreplace'
    line_buffering = True
    mode = 'w'

    def __init__(self, write, name, fd):
        # A C function in the instance, so that print() runs no Python frame per write.
        self.write = write
        self.name = name
        self._fd = fd if _fd_exists(fd) else None
        self.buffer = _BinaryWriter(self)

    def writable(self):
        return True

    def isatty(self):
        return False

    def flush(self):
        pass

    def fileno(self):
        if self._fd is None:
            raise _io.UnsupportedOperation('fileno')
        return self._fd

    def close(self):
        pass  # the host's streams outlive code that closes them


class ConsoleInput(_io.TextIOBase):
    """sys.stdin while the console runs code: lines typed into the console, Ctrl+D ends."""

    encoding = 'utf-8'
    errors = 'strict'
    name = '<stdin>'
    mode = 'r'

    def __init__(self, read_line):
        self._read_line = read_line
        self._rest = ''

    def readable(self):
        return True

    def isatty(self):
        return False

    def fileno(self):
        raise _io.UnsupportedOperation('the console has no file descriptor')

    def readline(self, size=-1):
        line, self._rest = (self._rest, '') if self._rest else (self._read_line(), '')
        if size is not None and 0 <= size < len(line):
            line, self._rest = line[:size], line[size:]
        return line

    def read(self, size=-1):
        wanted = -1 if size is None or size < 0 else size
        parts = []
        while wanted != 0:
            line = self.readline(wanted)
            if not line:
                break
            parts.append(line)
            wanted = wanted - len(line) if wanted > 0 else wanted
        return ''.join(parts)

    def close(self):
        pass  # exit() closes stdin; the console stays usable


def set_up_interactive(ps1, ps2):
    """What an interactive interpreter has, without site's handling of the search path."""
    import site
    if not hasattr(_builtins, 'copyright'):
        site.setcopyright()
    if not hasattr(_builtins, 'help'):
        site.sethelper()
    if not hasattr(_builtins, 'exit'):
        site.setquit()
    if not hasattr(_sys, 'ps1'):
        _sys.ps1 = ps1
    if not hasattr(_sys, 'ps2'):
        _sys.ps2 = ps2


def adopt_standard_library(folder):
    """Where frozen standard modules, those loaded already among them, take their file from."""
    from importlib._bootstrap import FrozenImporter
    _sys._stdlib_dir = folder
    for module in list(_sys.modules.values()):
        spec = getattr(module, '__spec__', None)
        state = getattr(spec, 'loader_state', None)
        if getattr(spec, 'loader', None) is not FrozenImporter or not getattr(state, 'origname', None):
            continue
        if getattr(module, '__file__', None):
            continue
        locations = spec.submodule_search_locations
        filename, folder_of_package = FrozenImporter._resolve_filename(state.origname, spec.name, locations is not None)
        if filename:
            module.__file__ = state.filename = filename
        if folder_of_package and folder_of_package not in locations:
            locations.insert(0, folder_of_package)


def _without_own_frames(tb):
    head = last = None
    while tb is not None:
        following = tb.tb_next
        if tb.tb_frame.f_code.co_filename != _OWN_FILE:
            if last is None:
                head = tb
            else:
                last.tb_next = tb
            last = tb
        tb = following
    if last is not None:
        last.tb_next = None
    return head


_OWN_FILE = _without_own_frames.__code__.co_filename


def format_exception(kind, value, tb):
    """The traceback as Python prints it, without this module's frames."""
    import traceback
    seen = set()
    chained = value
    while chained is not None and id(chained) not in seen:
        seen.add(id(chained))
        chained.__traceback__ = _without_own_frames(chained.__traceback__)
        chained = chained.__cause__ or chained.__context__
    return ''.join(traceback.format_exception(kind, value, _without_own_frames(tb)))
)PY";

PyObject* makeModule()
{
    PyObject* code = Py_CompileString(moduleSource, PythonQtPrivateModule::fileName, Py_file_input);
    PyObject* module = code ? PyModule_New(moduleName) : nullptr;
    PyObject* dict = module ? PyModule_GetDict(module) : nullptr;
    bool made = dict && PyDict_SetItemString(dict, "__builtins__", PyEval_GetBuiltins()) == 0;
    PyObject* result = made ? PyEval_EvalCode(code, dict, dict) : nullptr;
    made = result && PyDict_SetItemString(PyImport_GetModuleDict(), moduleName, module) == 0;
    Py_XDECREF(result);
    Py_XDECREF(code);
    if (!made)
        Py_CLEAR(module);
    return module;
}

} // namespace

PyObject* PythonQtPrivateModule::module()
{
    // Kept in sys.modules as well; remade for a new interpreter after finalisation.
    static PyObject* made = nullptr;
    static unsigned generation = 0;
    if (made && generation == PythonQtThreadStates::generation())
        return made;
    made = makeModule();
    generation = PythonQtThreadStates::generation();
    return made;
}

PyObject* PythonQtPrivateModule::call(const char* function, PyObject* arguments)
{
    PyObject* owner = module();
    PyObject* callable = owner ? PyObject_GetAttrString(owner, function) : nullptr;
    PyObject* result = callable ? PyObject_CallObject(callable, arguments) : nullptr;
    Py_XDECREF(callable);
    return result;
}
