#include "reader/CSettingsKey.h"

#ifdef _WIN32

#include <windows.h>

namespace {

// Reading asks for SOFTWARE\..., writing for Software\...: the registry ignores case.
std::wstring keyPath(const wchar_t *software, const QString &name)
{
    return std::wstring(software) + L"\\Corvale\\" + name.toStdWString();
}

} // namespace

CSettingsKey::~CSettingsKey()
{
    close();
}

void CSettingsKey::close()
{
    if (m_key != nullptr) {
        RegCloseKey(static_cast<HKEY>(m_key));
        m_key = nullptr;
    }
}

bool CSettingsKey::openForReading(const QString &name)
{
    close();
    HKEY key = nullptr;
    const std::wstring path = keyPath(L"SOFTWARE", name);
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return false;
    m_key = key;
    return true;
}

bool CSettingsKey::openForWriting(const QString &name)
{
    close();
    HKEY key = nullptr;
    const std::wstring path = keyPath(L"Software", name);
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        DWORD disposition = 0;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
            return false;
    }
    m_key = key;
    return true;
}

bool CSettingsKey::readDword(const QString &valueName, uint32_t &value) const
{
    if (m_key == nullptr)
        return false;
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    const std::wstring name = valueName.toStdWString();
    if (RegQueryValueExW(static_cast<HKEY>(m_key), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE *>(&data), &size) != ERROR_SUCCESS
        || type != REG_DWORD)
        return false;
    value = data;
    return true;
}

bool CSettingsKey::writeDword(const QString &valueName, uint32_t value)
{
    if (m_key == nullptr)
        return false;
    const DWORD data = value;
    const std::wstring name = valueName.toStdWString();
    return RegSetValueExW(static_cast<HKEY>(m_key), name.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE *>(&data), sizeof(data)) == ERROR_SUCCESS;
}

bool CSettingsKey::writeDwords(const DwordValues &values)
{
    // Each registry value is stored on its own; the registry keeps every single one whole.
    bool all = true;
    for (const auto &value : values)
        all = writeDword(value.first, value.second) && all;
    return all;
}

#else

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include "base/AtomicSave.h"

namespace {

const QString ExportHeader = QStringLiteral("Windows Registry Editor Version 5.00");

QString keyLine(const QString &name)
{
    return QStringLiteral("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvale\\%1]").arg(name);
}

bool isKeyLine(const QString &line)
{
    return line.startsWith(u'[') && line.endsWith(u']');
}

bool namesThisKey(const QString &line, const QString &name)
{
    return line.endsWith(QStringLiteral("\\Corvale\\%1]").arg(name), Qt::CaseInsensitive);
}

// `"Name"=data`: the quoted name with its \" and \\ escapes undone, and the data text.
bool parseValueLine(const QString &line, QString &name, QString &data)
{
    if (!line.startsWith(u'"'))
        return false;
    QString parsed;
    qsizetype i = 1;
    for (; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'\\' && i + 1 < line.size()) {
            parsed += line[++i];
            continue;
        }
        if (c == u'"')
            break;
        parsed += c;
    }
    if (i >= line.size() || i + 1 >= line.size() || line[i + 1] != u'=')
        return false;
    name = parsed;
    data = line.mid(i + 2).trimmed();
    return true;
}

QString quoted(const QString &name)
{
    QString escaped = name;
    escaped.replace(u'\\', QStringLiteral("\\\\"));
    escaped.replace(u'"', QStringLiteral("\\\""));
    return u'"' + escaped + u'"';
}

} // namespace

CSettingsKey::~CSettingsKey()
{
    close();
}

QString CSettingsKey::keyFilePath(const QString &name)
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/Corvale/") + name + QStringLiteral(".reg");
}

void CSettingsKey::close()
{
    m_open = false;
    m_writable = false;
    m_values.clear();
    m_index.clear();
    m_name.clear();
    m_path.clear();
}

bool CSettingsKey::openForReading(const QString &name)
{
    close();
    // Only a regular file: opening a pipe of that name would wait for a writer forever.
    QFile file(keyFilePath(name));
    if (!QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    // Never let a damaged or foreign file grow without bound in memory: the real one is tiny.
    const QByteArray bytes = file.read(1 << 20);
    const QString text = QString::fromUtf8(bytes);

    // Only values under this key's own line count; a file of garbage is a key without values.
    bool inKey = false;
    const QStringList lines = text.split(u'\n');
    for (QString line : lines) {
        line = line.trimmed();
        if (isKeyLine(line)) {
            inKey = namesThisKey(line, name);
            continue;
        }
        QString valueName;
        QString data;
        if (inKey && parseValueLine(line, valueName, data))
            store(valueName, data);
    }
    m_name = name;
    m_path = file.fileName();
    m_open = true;
    return true;
}

bool CSettingsKey::openForWriting(const QString &name)
{
    // Keep every value already in the key, as the registry would.
    const QString path = keyFilePath(name);
    if (!openForReading(name)) {
        close();
        if (!QDir().mkpath(QFileInfo(path).absolutePath()))
            return false;
        m_name = name;
        m_path = path;
        m_open = true;
    }
    m_writable = true;
    return true;
}

void CSettingsKey::store(const QString &valueName, const QString &data)
{
    // Value names ignore case, as in the registry. A hand-made file may hold any number of
    // values, so each is found through the index rather than by a search of all the others.
    const QString folded = valueName.toCaseFolded();
    const auto found = m_index.constFind(folded);
    if (found != m_index.constEnd()) {
        m_values[std::size_t(*found)].second = data;
        return;
    }
    m_index.insert(folded, qsizetype(m_values.size()));
    m_values.emplace_back(valueName, data);
}

bool CSettingsKey::readDword(const QString &valueName, uint32_t &value) const
{
    if (!m_open)
        return false;
    const auto found = m_index.constFind(valueName.toCaseFolded());
    if (found == m_index.constEnd())
        return false;
    const QString &data = m_values[std::size_t(*found)].second;
    if (!data.startsWith(QStringLiteral("dword:"), Qt::CaseInsensitive))
        return false;
    const QString digits = data.mid(6);
    if (digits.isEmpty() || digits.size() > 8)
        return false;
    bool ok = false;
    const uint number = digits.toUInt(&ok, 16);
    if (!ok || digits.startsWith(u'+') || digits.startsWith(u'-'))
        return false;
    value = uint32_t(number);
    return true;
}

bool CSettingsKey::writeDword(const QString &valueName, uint32_t value)
{
    return writeDwords({{valueName, value}});
}

bool CSettingsKey::writeDwords(const DwordValues &values)
{
    if (!m_writable)
        return false;
    for (const auto &value : values)
        store(value.first, QStringLiteral("dword:%1").arg(value.second, 8, 16, QChar(u'0')));
    return commit();
}

bool CSettingsKey::commit() const
{
    QString text = ExportHeader + QStringLiteral("\n\n") + keyLine(m_name) + u'\n';
    for (const auto &value : m_values)
        text += quoted(value.first) + u'=' + value.second + u'\n';
    return SaveFileAtomically(m_path, text.toUtf8());
}

#endif
