#pragma once

#include <QHash>
#include <QObject>
#include <QScriptValue>

#include <functional>

class QScriptContext;
class QScriptEngine;
class SCP_PythonEngine;
class SCP_PythonFunction;
class SCP_PythonModule;
class HostUiAutomation;

// The global "Host" object of the host's script engine: the session's Python engine and command
// history, a few file helpers and UI automation (HostUiAutomation). Engine, module and function objects are wrapped once each, so one Python module
// is always the same script object.
class HostScriptApi : public QObject
{
    Q_OBJECT
public:
    explicit HostScriptApi(QScriptEngine* engine, QObject* parent = nullptr);

    // Publishes this object as the global "Host", with its native functions.
    void install();
    // How many Host.after callbacks threw.
    int failedCallbacks() const;

    QScriptEngine* scriptEngine() const { return m_engine; }

    // Script values of the host's Python objects; null for a null pointer.
    QScriptValue wrap(SCP_PythonEngine* engine);
    QScriptValue wrap(SCP_PythonModule* module);
    QScriptValue wrap(SCP_PythonFunction* function);
    template <class T>
    QScriptValue wrapAll(const QList<T*>& items)
    {
        QScriptValue array = newArray(items.size());
        for (int i = 0; i < items.size(); ++i)
            array.setProperty(quint32(i), wrap(items.at(i)));
        return array;
    }

    // The module behind a script value made by wrap(); null for anything else.
    static SCP_PythonModule* moduleOf(const QScriptValue& value);

    // Undefined for an invalid variant; lists and maps become arrays and objects.
    QScriptValue toScript(const QVariant& value);
    // The elements of a script array as variants; empty for undefined or null.
    static QVariantList toVariantList(const QScriptValue& array);

public slots:
    QScriptValue engine();
    int mainThreadState() const;
    // The session's Python load messages; empty without a Python manager.
    QStringList pythonLoadMessages() const;
    // Pushes a command named text on the session's command history; false without one.
    bool pushCommand(const QString& text);
    // The history's undo index; -1 without a command manager.
    int commandIndex() const;
    // The file's text (UTF-8), or null when it cannot be read.
    QScriptValue readFile(const QString& path) const;
    bool writeFile(const QString& path, const QString& text) const;
    // Sets the modification time from an ISO 8601 date and time.
    bool setFileTime(const QString& path, const QString& isoDateTime) const;
    bool removeFile(const QString& path) const;

private:
    QScriptValue newArray(qsizetype length);
    static QScriptValue print(QScriptContext* context, QScriptEngine* engine);
    QScriptValue cached(const void* key, const std::function<QObject*()>& makeWrapper);

    QScriptEngine* m_engine;
    HostUiAutomation* m_automation;
    QHash<const void*, QScriptValue> m_wrappers;
};
