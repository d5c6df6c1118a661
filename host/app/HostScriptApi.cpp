#include "HostScriptApi.h"

#include "CO_CommandManager.h"
#include "HostEngineObject.h"
#include "HostFunctionObject.h"
#include "HostModuleObject.h"
#include "HostUiAutomation.h"
#include "PLUG_Services.h"
#include "SCP_PythonEngine.h"
#include "SCP_PythonManager.h"
#include "SC_SessionContext.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QScriptContext>
#include <QScriptEngine>
#include <QUndoStack>

#include <cstdio>

namespace {

CO_CommandManager* commandManager()
{
    const SC_SessionContext* context = PLUG_Services::getSessionContext();
    return context ? context->commandManager() : nullptr;
}

} // namespace

HostScriptApi::HostScriptApi(QScriptEngine* engine, QObject* parent)
    : QObject(parent), m_engine(engine), m_automation(new HostUiAutomation(this))
{
    setObjectName(QStringLiteral("Host"));
}

void HostScriptApi::install()
{
    QScriptValue host = m_engine->newQObject(this);
    host.setProperty(QStringLiteral("print"), m_engine->newFunction(&HostScriptApi::print));
    m_automation->install(host);
    m_engine->globalObject().setProperty(QStringLiteral("Host"), host);
}

int HostScriptApi::failedCallbacks() const
{
    return m_automation->failedCallbacks();
}

QScriptValue HostScriptApi::print(QScriptContext* context, QScriptEngine* engine)
{
    QStringList parts;
    for (int i = 0; i < context->argumentCount(); ++i)
        parts.append(context->argument(i).toString());
    const QByteArray line = parts.join(QLatin1Char(' ')).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
    return engine->undefinedValue();
}

QScriptValue HostScriptApi::cached(const void* key, const std::function<QObject*()>& makeWrapper)
{
    if (!key)
        return m_engine->nullValue();
    auto found = m_wrappers.constFind(key);
    if (found != m_wrappers.constEnd())
        return found.value();
    QScriptValue value = m_engine->newQObject(makeWrapper());
    m_wrappers.insert(key, value);
    return value;
}

QScriptValue HostScriptApi::wrap(SCP_PythonEngine* engine)
{
    return cached(engine, [this, engine] { return new HostEngineObject(engine, this); });
}

QScriptValue HostScriptApi::wrap(SCP_PythonModule* module)
{
    return cached(module, [this, module] { return new HostModuleObject(module, this); });
}

QScriptValue HostScriptApi::wrap(SCP_PythonFunction* function)
{
    return cached(function, [this, function] { return new HostFunctionObject(function, this); });
}

QScriptValue HostScriptApi::newArray(qsizetype length)
{
    return m_engine->newArray(uint(length));
}

SCP_PythonModule* HostScriptApi::moduleOf(const QScriptValue& value)
{
    auto* wrapper = qobject_cast<HostModuleObject*>(value.toQObject());
    return wrapper ? wrapper->module() : nullptr;
}

QScriptValue HostScriptApi::toScript(const QVariant& value)
{
    if (!value.isValid())
        return m_engine->undefinedValue();
    switch (value.typeId()) {
    case QMetaType::Nullptr:
        return m_engine->nullValue();
    case QMetaType::Bool:
        return QScriptValue(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return QScriptValue(value.toDouble());
    case QMetaType::QString:
        return QScriptValue(value.toString());
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        const QVariantList items = value.toList();
        QScriptValue array = newArray(items.size());
        for (int i = 0; i < items.size(); ++i)
            array.setProperty(quint32(i), toScript(items.at(i)));
        return array;
    }
    case QMetaType::QVariantMap: {
        const QVariantMap items = value.toMap();
        QScriptValue object = m_engine->newObject();
        for (auto item = items.cbegin(); item != items.cend(); ++item)
            object.setProperty(item.key(), toScript(item.value()));
        return object;
    }
    default:
        return m_engine->create(value.userType(), value.constData());
    }
}

QVariantList HostScriptApi::toVariantList(const QScriptValue& array)
{
    QVariantList items;
    if (!array.isArray())
        return items;
    const quint32 length = array.property(QStringLiteral("length")).toUInt32();
    for (quint32 i = 0; i < length; ++i)
        items.append(array.property(i).toVariant());
    return items;
}

QScriptValue HostScriptApi::engine()
{
    return wrap(SCP_PythonEngine::current());
}

int HostScriptApi::mainThreadState() const
{
    return SCP_PythonEngine::mainThreadState();
}

QStringList HostScriptApi::pythonLoadMessages() const
{
    const SC_SessionContext* context = PLUG_Services::getSessionContext();
    const SCP_PythonManager* manager = context ? context->pythonManager() : nullptr;
    return manager ? manager->loadMessages() : QStringList();
}

// A named command that changes nothing: enough to watch undo and redo move through the history.
bool HostScriptApi::pushCommand(const QString& text)
{
    CO_CommandManager* manager = commandManager();
    if (manager)
        manager->execute(new QUndoCommand(text));
    return manager != nullptr;
}

int HostScriptApi::commandIndex() const
{
    const CO_CommandManager* manager = commandManager();
    return manager ? manager->undoStack()->index() : -1;
}

QScriptValue HostScriptApi::readFile(const QString& path) const
{
    // Only a regular file has an end to read to: a device or pipe would block or never end.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return m_engine->nullValue();
    return QScriptValue(QString::fromUtf8(file.readAll()));
}

bool HostScriptApi::writeFile(const QString& path, const QString& text) const
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0;
}

bool HostScriptApi::setFileTime(const QString& path, const QString& isoDateTime) const
{
    const QDateTime time = QDateTime::fromString(isoDateTime, Qt::ISODate);
    QFile file(path);
    return time.isValid() && file.open(QIODevice::ReadWrite)
        && file.setFileTime(time, QFileDevice::FileModificationTime);
}

bool HostScriptApi::removeFile(const QString& path) const
{
    return QFile::remove(path);
}
