#pragma once

#include <QHash>
#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

// One key of the program's settings, holding typed DWORD values.
//
// On Windows it is the registry key "SOFTWARE\Corvale\<name>" under HKEY_LOCAL_MACHINE. Elsewhere
// the key lives in a per-user file, $XDG_CONFIG_HOME/Corvale/<name>.reg, written in the text
// format of a registry export so that the values keep their types: a value that is not a
// "dword:" line reads as missing, exactly as a registry value of another type would.
class CSettingsKey
{
public:
    CSettingsKey() = default;
    ~CSettingsKey();
    CSettingsKey(const CSettingsKey &) = delete;
    CSettingsKey &operator=(const CSettingsKey &) = delete;

    // Opens an existing key to read it. False when the key does not exist or cannot be read.
    // Opening closes any key the object already holds.
    bool openForReading(const QString &name);
    // Opens the key to write it, creating it when it does not exist yet. False when it can be
    // neither opened nor created.
    bool openForWriting(const QString &name);
    void close();

    // True only when the value exists and is a DWORD.
    bool readDword(const QString &valueName, uint32_t &value) const;
    // Stores the value as a DWORD; false when it could not be stored.
    bool writeDword(const QString &valueName, uint32_t value);
    // Stores several DWORDs as one change: the key file is rewritten once, so that a program
    // killed while saving leaves either all old values or all new ones.
    using DwordValues = std::vector<std::pair<QString, uint32_t>>;
    bool writeDwords(const DwordValues &values);

#ifndef _WIN32
    // The file that holds the key `name`.
    static QString keyFilePath(const QString &name);
#endif

private:
#ifdef _WIN32
    void *m_key = nullptr; // HKEY
#else
    // The file's values in order, each as the text after its '=' (e.g. "dword:00000001").
    bool commit() const;
    // Sets a value, adding it at the end when the key does not hold it yet.
    void store(const QString &valueName, const QString &data);

    QString m_name;
    QString m_path;
    bool m_open = false;
    bool m_writable = false;
    std::vector<std::pair<QString, QString>> m_values;
    QHash<QString, qsizetype> m_index; // case-folded value name to its place in m_values
#endif
};
