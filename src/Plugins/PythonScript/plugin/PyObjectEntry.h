#pragma once

#include <QDateTime>
#include <QScriptValue>
#include <QString>

// One object made by "PythonManager" from a file, remembered with the file's state at loading.
struct PyObjectEntry
{
    QScriptValue value;
    QString filePath;
    QDateTime lastModified;
};
