#include "SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace vantor {

namespace {

QStringList components(const std::string& keyPath)
{
    return QString::fromStdString(keyPath).split('\\', Qt::SkipEmptyParts);
}

}  // namespace

SettingsStore::SettingsStore(std::string root) : m_root(std::move(root)) {}

std::string SettingsStore::defaultRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
}

SettingsStore::Place SettingsStore::placeOf(const std::string& keyPath) const
{
    QStringList parts = components(keyPath);
#ifdef Q_OS_WIN
    return {("HKEY_CURRENT_USER\\" + parts.join('\\')).toStdString(), std::string()};
#else
    // "Software\VantorPC\Probe" lives in <root>/Software/VantorPC.ini, group "Probe".
    const int fileParts = std::min<int>(2, static_cast<int>(parts.size()));
    const QStringList fileName = parts.mid(0, fileParts);
    const QString file = QDir(QString::fromStdString(m_root)).filePath(fileName.join('/') + ".ini");
    return {file.toStdString(), parts.mid(fileParts).join('/').toStdString()};
#endif
}

std::string SettingsStore::location(const std::string& keyPath) const { return placeOf(keyPath).file; }

bool SettingsStore::keyExists(const std::string& keyPath) const
{
    const Place place = placeOf(keyPath);
#ifdef Q_OS_WIN
    // A registry key shows through its parent's groups.
    const QString path = QString::fromStdString(place.file);
    QSettings parent(path.section('\\', 0, -2), QSettings::NativeFormat);
    return parent.childGroups().contains(path.section('\\', -1), Qt::CaseInsensitive);
#else
    const QFileInfo info(QString::fromStdString(place.file));
    if (!info.isFile() || !info.isWritable())
        return false;
    if (place.group.empty())
        return true;
    QSettings settings(info.filePath(), QSettings::IniFormat);
    return settings.childGroups().contains(QString::fromStdString(place.group).section('/', 0, 0));
#endif
}

bool SettingsStore::createKey(const std::string& keyPath)
{
    const Place place = placeOf(keyPath);
#ifndef Q_OS_WIN
    const QFileInfo info(QString::fromStdString(place.file));
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    if (!info.exists()) {
        QFile file(info.filePath());
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
#endif
    QSettings settings(QString::fromStdString(place.file),
#ifdef Q_OS_WIN
                       QSettings::NativeFormat
#else
                       QSettings::IniFormat
#endif
    );
    settings.sync();
    return settings.status() == QSettings::NoError;
}

namespace {

QString valueKey(const std::string& group, const std::string& name)
{
    return group.empty() ? QString::fromStdString(name) : QString::fromStdString(group + "/" + name);
}

QSettings::Format settingsFormat()
{
#ifdef Q_OS_WIN
    return QSettings::NativeFormat;
#else
    return QSettings::IniFormat;
#endif
}

bool readable(const std::string& file)
{
#ifdef Q_OS_WIN
    (void)file;
    return true;
#else
    return QFileInfo::exists(QString::fromStdString(file));
#endif
}

}  // namespace

std::string SettingsStore::readText(const std::string& keyPath, const std::string& name,
                                    const std::string& fallback) const
{
    const Place place = placeOf(keyPath);
    if (!readable(place.file))
        return fallback;
    QSettings settings(QString::fromStdString(place.file), settingsFormat());
    const QVariant value = settings.value(valueKey(place.group, name));
    if (!value.isValid())
        return fallback;
    return value.toString().toStdString();
}

int32_t SettingsStore::readNumber(const std::string& keyPath, const std::string& name, int32_t fallback) const
{
    const Place place = placeOf(keyPath);
    if (!readable(place.file))
        return fallback;
    QSettings settings(QString::fromStdString(place.file), settingsFormat());
    const QVariant value = settings.value(valueKey(place.group, name));
    bool ok = false;
    const qlonglong number = value.toString().toLongLong(&ok);
    if (!value.isValid() || !ok || number < INT32_MIN || number > UINT32_MAX)
        return fallback;
    // A number is a 32-bit word: 4294967295 and -1 are the same value.
    return static_cast<int32_t>(static_cast<uint32_t>(number));
}

void SettingsStore::writeText(const std::string& keyPath, const std::string& name, const std::string& text)
{
    const Place place = placeOf(keyPath);
    if (!createKey(keyPath))
        return;
    QSettings settings(QString::fromStdString(place.file), settingsFormat());
    settings.setValue(valueKey(place.group, name), QString::fromStdString(text));
}

void SettingsStore::writeNumber(const std::string& keyPath, const std::string& name, int32_t value)
{
    const Place place = placeOf(keyPath);
    if (!createKey(keyPath))
        return;
    QSettings settings(QString::fromStdString(place.file), settingsFormat());
#ifdef Q_OS_WIN
    settings.setValue(valueKey(place.group, name), value);  // a REG_DWORD
#else
    settings.setValue(valueKey(place.group, name), QString::number(value));
#endif
}

}  // namespace vantor
