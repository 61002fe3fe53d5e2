#include "shell/AppConfig.h"

#include "base/ProgramDirectory.h"

#include <QFile>
#include <QFileInfo>

#include <array>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

const std::array<const char *, 8> KeyNames = {
    "Company", "Version", "SoftwareName", "AboutTitle", "AboutVersion", "AboutLTD", "HTTP", "COPYRIGHT",
};

const QString SectionName = QStringLiteral("AppInfo");

#ifndef _WIN32
// Values behave as the initialisation-file reader returns them: blanks around the key and the
// value are dropped, one pair of enclosing quotes is removed, a NUL byte ends the value, and at
// most 259 characters come back.
QString cutValue(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2
        && ((value.startsWith(u'"') && value.endsWith(u'"')) || (value.startsWith(u'\'') && value.endsWith(u'\''))))
        value = value.mid(1, value.size() - 2);
    if (value.size() > AppConfigValueLength) {
        qsizetype length = AppConfigValueLength;
        // Never leave half of a surrogate pair at the cut.
        if (value[length - 1].isHighSurrogate())
            --length;
        value.truncate(length);
    }
    return value;
}

QString readValue(const QString &path, const QString &key)
{
    // Only a regular file: opening a pipe of that name would wait for a writer forever.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    bool inSection = false;
    while (!file.atEnd()) {
        // A line too long for any sensible file is read in pieces; only its start can hold a key.
        QByteArray bytes = file.readLine(64 * 1024);
        if (!bytes.endsWith('\n')) {
            while (!file.atEnd() && !file.readLine(64 * 1024).endsWith('\n')) {
            }
        }
        const qsizetype nul = bytes.indexOf('\0');
        if (nul >= 0)
            bytes.truncate(nul);
        const QString line = QString::fromUtf8(bytes).trimmed();
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            inSection = name.compare(SectionName, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection || line.startsWith(u';'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        if (line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return cutValue(line.mid(equals + 1));
    }
    return {};
}
#endif

} // namespace

QString ReadAppConfigFrom(const QString &path, int index)
{
    if (index < 0 || index >= int(KeyNames.size()))
        return {};
    const QString key = QString::fromLatin1(KeyNames[std::size_t(index)]);
#ifdef _WIN32
    wchar_t buffer[AppConfigValueLength + 1] = {};
    const std::wstring section = SectionName.toStdWString();
    const std::wstring keyName = key.toStdWString();
    const std::wstring file = path.toStdWString();
    const DWORD length = GetPrivateProfileStringW(section.c_str(), keyName.c_str(), L"", buffer,
                                                  AppConfigValueLength + 1, file.c_str());
    return QString::fromWCharArray(buffer, int(length));
#else
    return readValue(path, key);
#endif
}

QString ReadAppConfig(int index)
{
    return ReadAppConfigFrom(ProgramFilePath(QStringLiteral("AppConfig.ini")), index);
}
