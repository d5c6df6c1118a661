#pragma once

#include "BellwickHostExport.h"

#include <QColor>
#include <QHash>
#include <QRecursiveMutex>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class QSettings;

// The host's preference store over an INI file. Safe to use from any thread.
class BELLWICK_HOST_EXPORT PR_Preference
{
public:
    PR_Preference();
    ~PR_Preference();

    // The INI file that holds the preferences; empty selects the user's own store.
    void setStorageFile(const QString& iniFile);
    QString storageFile() const;

    bool contains(const QString& key) const;
    void remove(const QString& key);

    bool getBoolValue(const QString& key, bool defaultValue) const;
    int getIntValue(const QString& key, int defaultValue) const;
    // Stored as "#AARRGGBB".
    QRgb getRgbaValue(const QString& key, QRgb defaultValue) const;
    QString getStringValue(const QString& key, const QString& defaultValue = QString()) const;
    QStringList getStringListValue(const QString& key, const QStringList& defaultValue = {}) const;

    void setBoolValue(const QString& key, bool value);
    void setIntValue(const QString& key, int value);
    void setRgbaValue(const QString& key, QRgb value);
    void setStringValue(const QString& key, const QString& value);
    void setStringListValue(const QString& key, const QStringList& value);

    // A value for this process only (a command-line option's), read before the stored one and
    // never written to the store.
    void setRunValue(const QString& key, const QString& value);

    PR_Preference(const PR_Preference&) = delete;
    PR_Preference& operator=(const PR_Preference&) = delete;

private:
    QVariant value(const QString& key) const;
    void setValue(const QString& key, const QVariant& value);
    QSettings& settings() const;

    mutable QRecursiveMutex m_mutex;
    mutable std::unique_ptr<QSettings> m_settings;
    QString m_file;
    QHash<QString, QString> m_runValues;
};

// The host's global preferences.
extern BELLWICK_HOST_EXPORT PR_Preference lxPref;
