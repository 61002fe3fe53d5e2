#include "shell/CBackgroundDlg.h"

#include "dialogs/CResourceLibrary.h"
#include "dialogs/DialogBuilder.h"

#include <QAbstractButton>
#include <QFrame>
#include <QListWidget>
#include <QPainter>

namespace {

// Template 153. Its title and buttons keep their own texts in both languages.
const DialogTemplate &backgroundTemplate()
{
    static const DialogTemplate dialogTemplate = {153, 239, 133, {
        {CBackgroundDlg::ListId, ControlKind::ListBox, 7, 7, 82, 119, ""},
        {CBackgroundDlg::PreviewFrameId, ControlKind::Frame, 96, 7, 136, 97, ""},
        {1, ControlKind::Button, 110, 112, 50, 14, "确定", DefaultButton},
        {2, ControlKind::Button, 170, 112, 50, 14, "取消"},
    }};
    return dialogTemplate;
}

constexpr int PreviewInset = 3;

// "背景 01" to "背景 09", then "背景 10" to "背景 32".
QString entryName(int number)
{
    const QString word = QStringLiteral("背景 ");
    return word + QString::number(number).rightJustified(2, u'0');
}

} // namespace

CBackgroundDlg::CBackgroundDlg(int currentBitmap, QWidget *parent)
    : CBackgroundDlg(currentBitmap, CResourceLibrary::defaultPath(), parent)
{
}

CBackgroundDlg::CBackgroundDlg(int currentBitmap, const QString &libraryPath, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    if (BackgroundLibrary == nullptr) {
        m_library = std::make_unique<CResourceLibrary>(libraryPath);
        BackgroundLibrary = m_library.get();
    }

    setObjectName(QStringLiteral("id153"));
    setWindowTitle(QStringLiteral("选择背景"));
    const DialogBuilder builder;
    builder.build(backgroundTemplate(), this);
    setFixedSize(builder.templateSize(backgroundTemplate()));

    m_list = findChild<QListWidget *>(DialogBuilder::objectName(ListId));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    // Appended one after the other, so list position k is background k.
    for (int k = 0; k < CResourceLibrary::BitmapCount; ++k)
        m_list->addItem(entryName(k + 1));

    m_selection = currentBitmap;
    if (currentBitmap >= 0 && currentBitmap < CResourceLibrary::BitmapCount)
        m_list->setCurrentRow(currentBitmap);
    loadPreview();
    connect(m_list, &QListWidget::currentRowChanged, this, &CBackgroundDlg::onListRowChanged);

    if (auto *ok = findChild<QAbstractButton *>(DialogBuilder::objectName(1)))
        connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
    if (auto *cancel = findChild<QAbstractButton *>(DialogBuilder::objectName(2)))
        connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
}

CBackgroundDlg::~CBackgroundDlg()
{
    m_preview.clear();
    if (m_library != nullptr && BackgroundLibrary == m_library.get())
        BackgroundLibrary = nullptr;
}

QRect CBackgroundDlg::previewRect() const
{
    const auto *frame = findChild<QFrame *>(DialogBuilder::objectName(PreviewFrameId));
    return frame->geometry().adjusted(PreviewInset, PreviewInset, -PreviewInset, -PreviewInset);
}

void CBackgroundDlg::onListRowChanged(int row)
{
    if (row < 0 || row == m_selection)
        return;
    m_selection = row;
    loadPreview();
    update();
}

void CBackgroundDlg::loadPreview()
{
    m_tile = QPixmap();
    if (m_selection < 0 || m_selection >= CResourceLibrary::BitmapCount)
        return;
    if (m_preview.LoadBackground(CResourceLibrary::FirstBitmapId + m_selection))
        m_tile = QPixmap::fromImage(m_preview.bitmap().convertToFormat(QImage::Format_RGB32));
}

void CBackgroundDlg::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (m_tile.isNull())
        return;
    const QRect area = previewRect();
    QPainter painter(this);
    painter.setClipRect(area);
    painter.drawTiledPixmap(area, m_tile, QPoint(0, 0));
}
