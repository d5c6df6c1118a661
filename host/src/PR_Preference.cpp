#include "PR_Preference.h"

#include <QMutexLocker>
#include <QSettings>

PR_Preference lxPref;

PR_Preference::PR_Preference() = default;
PR_Preference::~PR_Preference() = default;

void PR_Preference::setStorageFile(const QString& iniFile)
{
    QMutexLocker lock(&m_mutex);
    m_file = iniFile;
    m_settings.reset();
}

QString PR_Preference::storageFile() const
{
    QMutexLocker lock(&m_mutex);
    return settings().fileName();
}

QSettings& PR_Preference::settings() const
{
    if (!m_settings) {
        if (m_file.isEmpty())
            m_settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                     QStringLiteral("Bellwick"), QStringLiteral("bellwick"));
        else
            m_settings = std::make_unique<QSettings>(m_file, QSettings::IniFormat);
    }
    return *m_settings;
}

QVariant PR_Preference::value(const QString& key) const
{
    QMutexLocker lock(&m_mutex);
    const auto runValue = m_runValues.constFind(key);
    return runValue != m_runValues.cend() ? QVariant(*runValue) : settings().value(key);
}

void PR_Preference::setRunValue(const QString& key, const QString& value)
{
    QMutexLocker lock(&m_mutex);
    m_runValues.insert(key, value);
}

void PR_Preference::setValue(const QString& key, const QVariant& value)
{
    QMutexLocker lock(&m_mutex);
    settings().setValue(key, value);
    settings().sync();
}

bool PR_Preference::contains(const QString& key) const
{
    QMutexLocker lock(&m_mutex);
    return settings().contains(key);
}

void PR_Preference::remove(const QString& key)
{
    QMutexLocker lock(&m_mutex);
    settings().remove(key);
    settings().sync();
}

bool PR_Preference::getBoolValue(const QString& key, bool defaultValue) const
{
    const QVariant stored = value(key);
    if (!stored.isValid())
        return defaultValue;
    const QString text = stored.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return defaultValue;
}

int PR_Preference::getIntValue(const QString& key, int defaultValue) const
{
    bool ok = false;
    const int number = value(key).toString().trimmed().toInt(&ok, 0);
    return ok ? number : defaultValue;
}

QRgb PR_Preference::getRgbaValue(const QString& key, QRgb defaultValue) const
{
    QString text = value(key).toString().trimmed();
    bool ok = false;
    QRgb rgba = 0;
    if (text.startsWith(QLatin1Char('#'))) {
        text.remove(0, 1);
        rgba = text.toUInt(&ok, 16);
        if (ok && text.size() == 6)
            rgba |= 0xFF000000u;
        ok = ok && (text.size() == 6 || text.size() == 8);
    } else {
        rgba = text.toUInt(&ok, 0);
    }
    return ok ? rgba : defaultValue;
}

QString PR_Preference::getStringValue(const QString& key, const QString& defaultValue) const
{
    const QVariant stored = value(key);
    return stored.isValid() ? stored.toString() : defaultValue;
}

QStringList PR_Preference::getStringListValue(const QString& key, const QStringList& defaultValue) const
{
    QMutexLocker lock(&m_mutex);
    if (!settings().contains(key))
        return defaultValue;
    return settings().value(key).toStringList();
}

void PR_Preference::setBoolValue(const QString& key, bool value)
{
    setValue(key, value ? QStringLiteral("true") : QStringLiteral("false"));
}

void PR_Preference::setIntValue(const QString& key, int value)
{
    setValue(key, value);
}

void PR_Preference::setRgbaValue(const QString& key, QRgb value)
{
    setValue(key, QStringLiteral("#%1").arg(value, 8, 16, QLatin1Char('0')).toUpper());
}

void PR_Preference::setStringValue(const QString& key, const QString& value)
{
    setValue(key, value);
}

void PR_Preference::setStringListValue(const QString& key, const QStringList& value)
{
    setValue(key, value);
}
