#pragma once

#include <QLibrary>
#include <QString>

// Loads a plug-in library and calls its three entry points.
class PluginLoader
{
public:
    using EntryPoint = void (*)();

    // The library bellwick loads by default: libPythonScript.so beside the executable, else the
    // installed one.
    static QString defaultPluginPath();

    // False (with error()) when the file is missing, does not load or lacks an entry point.
    bool load(const QString& path);
    const QString& error() const { return m_error; }

    void init() const { m_init(); }
    void polish() const { m_polish(); }
    void unpolish() const { m_unpolish(); }

private:
    EntryPoint resolve(const char* name);

    QLibrary m_library;
    QString m_error;
    EntryPoint m_init = nullptr;
    EntryPoint m_polish = nullptr;
    EntryPoint m_unpolish = nullptr;
};
