#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The background library beside the program, loaded by its full path only (a library found
// through a search path could be a planted one). On Linux it is the Qt binary resource file
// Kelb_Paper.rcc holding the bitmaps as /Kelb_Paper/<identifier>; on Windows the resource-only
// Kelb_Paper.DLL. Constructing it loads the library, destroying it releases it.
class CResourceLibrary
{
public:
    // Identifiers of the 32 backgrounds.
    static constexpr int FirstBitmapId = 201;
    static constexpr int BitmapCount = 32;

    CResourceLibrary();
    explicit CResourceLibrary(const QString &path);
    ~CResourceLibrary();
    CResourceLibrary(const CResourceLibrary &) = delete;
    CResourceLibrary &operator=(const CResourceLibrary &) = delete;

    // The library's place: the program's folder.
    static QString defaultPath();

    bool isLoaded() const;
    const QString &path() const { return m_path; }
    // The bitmap resource with this identifier; a null image when the library or the bitmap
    // is missing.
    QImage loadBitmap(int identifier) const;

private:
    QString m_path;
#ifdef _WIN32
    void *m_module = nullptr;
#else
    // Far above the 32 bitmaps; a larger file is not the background library.
    static constexpr qint64 MaxLibrarySize = 64 * 1024 * 1024;
    QByteArray m_data;
    bool m_registered = false;
#endif
};

// The library the background chooser holds open while it exists; null otherwise, and every
// background load then opens the library for that load only.
extern CResourceLibrary *BackgroundLibrary;
