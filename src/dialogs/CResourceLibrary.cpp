#include "dialogs/CResourceLibrary.h"

#include "base/ProgramDirectory.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#else
#include "dialogs/ResourceFileCheck.h"

#include <QFile>
#include <QResource>
#endif

CResourceLibrary *BackgroundLibrary = nullptr;

#ifdef _WIN32

QString CResourceLibrary::defaultPath()
{
    return ProgramFilePath(QStringLiteral("Kelb_Paper.DLL"));
}

CResourceLibrary::CResourceLibrary(const QString &path)
    : m_path(path)
{
    const std::wstring fullPath = QDir::toNativeSeparators(path).toStdWString();
    m_module = LoadLibraryExW(fullPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

CResourceLibrary::~CResourceLibrary()
{
    if (m_module != nullptr)
        FreeLibrary(static_cast<HMODULE>(m_module));
}

bool CResourceLibrary::isLoaded() const
{
    return m_module != nullptr;
}

QImage CResourceLibrary::loadBitmap(int identifier) const
{
    if (m_module == nullptr)
        return QImage();
    HANDLE handle = LoadImageW(static_cast<HMODULE>(m_module), MAKEINTRESOURCEW(identifier), IMAGE_BITMAP, 0, 0,
                               LR_CREATEDIBSECTION);
    if (handle == nullptr)
        return QImage();
    HBITMAP bitmap = static_cast<HBITMAP>(handle);
    DIBSECTION section{};
    QImage image;
    if (GetObjectW(bitmap, sizeof(section), &section) == sizeof(section) && section.dsBmih.biBitCount <= 8) {
        // Keep the indexed picture and its colour table, which becomes the palette.
        const int colours = section.dsBmih.biClrUsed != 0 ? int(section.dsBmih.biClrUsed)
                                                          : 1 << section.dsBmih.biBitCount;
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        RGBQUAD table[256] = {};
        const UINT read = GetDIBColorTable(dc, 0, UINT(std::min(colours, 256)), table);
        SelectObject(dc, previous);
        DeleteDC(dc);
        image = QImage::fromHBITMAP(bitmap).convertToFormat(QImage::Format_RGB32);
        QVector<QRgb> colourTable;
        for (UINT i = 0; i < read; ++i)
            colourTable.append(qRgb(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue));
        image = image.convertToFormat(QImage::Format_Indexed8, colourTable, Qt::ThresholdDither);
    } else {
        image = QImage::fromHBITMAP(bitmap);
    }
    DeleteObject(bitmap);
    return image;
}

#else

QString CResourceLibrary::defaultPath()
{
    return ProgramFilePath(QStringLiteral("Kelb_Paper.rcc"));
}

CResourceLibrary::CResourceLibrary(const QString &path)
    : m_path(path)
{
    // Only a full path, and only a regular file: opening a pipe of that name would wait forever.
    const QFileInfo info(path);
    if (!info.isAbsolute() || !info.isFile() || info.size() > MaxLibrarySize)
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // The bytes are kept and registered from memory after their structure has been checked: a
    // mapped file could change after the check or shrink under the mapping.
    m_data = file.read(MaxLibrarySize + 1);
    if (m_data.size() > MaxLibrarySize || !IsSoundResourceData(m_data)) {
        m_data.clear();
        return;
    }
    m_registered = QResource::registerResource(reinterpret_cast<const uchar *>(m_data.constData()));
}

CResourceLibrary::~CResourceLibrary()
{
    if (m_registered)
        QResource::unregisterResource(reinterpret_cast<const uchar *>(m_data.constData()));
}

bool CResourceLibrary::isLoaded() const
{
    return m_registered;
}

QImage CResourceLibrary::loadBitmap(int identifier) const
{
    if (!m_registered)
        return QImage();
    QImage image;
    image.load(QStringLiteral(":/Kelb_Paper/%1").arg(identifier), "BMP");
    return image;
}

#endif

CResourceLibrary::CResourceLibrary()
    : CResourceLibrary(defaultPath())
{
}
