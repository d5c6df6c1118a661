#pragma once

#include "PythonQtExport.h"
#include "PythonQtObjectPtr.h"
#include "PythonQtThreadSupport.h"

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

// The embedded interpreter: start-up, modules, introspection, calls and output signals.
class PYTHONQT_EXPORT PythonQt : public QObject
{
    Q_OBJECT
public:
    enum InitFlags {
        RedirectStdOut = 1,
        IgnoreSiteModule = 2,
    };

    enum ObjectType {
        Class,
        Function,
        Variable,
        Module,
        Anything,
        CallOverloads,
    };

    // Starts the interpreter on the calling thread. initSuccessfully() tells whether it worked.
    static void init(int flags = IgnoreSiteModule | RedirectStdOut, const QByteArray& pythonQtModuleName = QByteArray());
    // Finalises the interpreter; self() is null afterwards.
    static void cleanup();
    static PythonQt* self();

    bool initSuccessfully() const;
    // The interpreter's own reason when start-up failed.
    QString initError() const;

    // The init thread gives the interpreter lock up; from then on every access takes it
    // through a lock scope.
    void startThreads();

    PythonQtObjectPtr getMainModule();
    // A new module registered under name, with script run in it; null on failure.
    PythonQtObjectPtr createModuleFromScript(const QString& name, const QString& script = QString());

    // Names of object's attributes of the given kind.
    QStringList introspectObject(PyObject* object, ObjectType type);
    // The same for the object reached by dottedName inside module (empty: module itself).
    QStringList introspection(PyObject* module, const QString& dottedName, ObjectType type);

    // Whether object is alive and has its Python wrapper. object is never dereferenced, so any
    // address may be asked. The caller holds the lock.
    static bool hasWrapper(const QObject* object);

    // Puts path at the front of sys.path.
    void addSysPath(const QString& path);

    // Calls callable with converted arguments; a new reference, or null with the error pending.
    PyObject* callAndReturnPyObject(PyObject* callable, const QVariantList& args = QVariantList(),
                                    const QVariantMap& kwargs = QVariantMap());

signals:
    // Emitted on the thread that writes, once per write, the text unchanged.
    void pythonStdOut(const QString& text);
    void pythonStdErr(const QString& text);

private:
    PythonQt();
    ~PythonQt() override;

    class Private;
    Private* d;
};
