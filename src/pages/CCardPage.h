#pragma once

#include "dialogs/CaptionFrame.h"
#include "dialogs/DialogTemplate.h"
#include "dialogs/PageBackground.h"
#include "base/LanguageText.h"

#include <QWidget>

#include <functional>
#include <initializer_list>
#include <map>
#include <vector>

class CHexEdit;
class QAbstractButton;
class QComboBox;
class QLabel;

// The base of every card page: a child page of the page host, built from its dialog template.
// It paints the chosen background tiled under its controls, draws labels and buttons
// transparently in PageTextColour, and draws the caption frames that replace its group boxes.
// Pages draw their own pictures in paintPage(), between the background and the frames.
class CCardPage : public QWidget
{
    Q_OBJECT
public:
    CCardPage(const DialogTemplate &dialogTemplate, QWidget *parent = nullptr);
    ~CCardPage() override;

    // The template this page was built from.
    int templateId() const { return m_templateId; }
    // Height the host scrolls over; 0 until the page sets it at initialisation.
    int contentHeight() const { return m_contentHeight; }
    // Pages that fill the view rearrange their controls for the screen width; the default
    // does nothing.
    virtual void layoutForWidth(int screenWidth);

    // The control created from the template with this id (the first one, for shared ids).
    QWidget *control(int id) const;
    // Every control in template order.
    const std::vector<QWidget *> &controls() const { return m_controls; }
    // The kind the template gave the control (ControlKind::Custom for an unknown id).
    ControlKind controlKind(int id) const;
    template <class T>
    T *control(int id) const { return qobject_cast<T *>(control(id)); }
    CHexEdit *hexEdit(int id) const;
    QComboBox *comboBox(int id) const;
    QAbstractButton *button(int id) const;
    QLabel *label(int id) const;

    // Controls made at run time (the SRIX4K page's block fields): built like template controls,
    // coloured like them and found by id like them. A page numbers them from
    // FirstRuntimeControlId, a range no template uses. Returns the widget.
    static constexpr int FirstRuntimeControlId = 20000;
    QWidget *addControl(const ControlTemplate &control);

    // Sets the caption of a label, button, group box (and its caption frame) or text field.
    void setCaption(int id, const QString &caption);
    QString caption(int id) const;

    // Handlers of the page's controls. A selection handler runs for every change of a list's
    // selection (or of a date, time or check state), the program's own changes included
    // except those made through selectItemWithData and selectListIndex; a text handler runs
    // for every change of a field's text, as the edit control's change notice does.
    void onClicked(int id, std::function<void()> handler);
    void onSelectionChanged(int id, std::function<void()> handler);
    void onTextChanged(int id, std::function<void()> handler);

    // Lists (drop-down lists and list boxes): an item shows `text` and carries `data`; the
    // selected item's data, -1 when none.
    void addListItem(int id, const QString &text, int data);
    int selectedItemData(int id) const;
    bool selectItemWithData(int id, int data);
    // Selects the item at this position (-1 clears the selection), as the program does: no
    // selection-change handler runs.
    void selectListIndex(int id, int index);

    // Hides the group box and draws a caption frame in its place, with its caption.
    CaptionFrame &addCaptionFrame(int groupBoxId);
    const std::vector<CaptionFrame> &captionFrames() const { return m_captionFrames; }

    // The control's rectangle in page coordinates.
    QRect controlRect(int id) const;

    const PageBackground &background() const { return m_background; }
    bool paintsBackground() const { return m_paintsBackground; }

protected:
    void setContentHeight(int height) { m_contentHeight = height; }
    // Pages that keep the default erasing (no background bitmap) turn it off.
    void setPaintsBackground(bool paints);

    void paintEvent(QPaintEvent *event) override;
    // The page's own painting, over the background and under the caption frames.
    virtual void paintPage(QPainter &painter);

private:
    struct ControlEntry {
        QWidget *widget;
        ControlKind kind;
    };
    const ControlEntry *entry(int id) const;
    void applyColours(QWidget *widget, ControlKind kind);

    int m_templateId = 0;
    int m_contentHeight = 0;
    bool m_paintsBackground = true;
    std::vector<QWidget *> m_controls;
    std::map<int, ControlEntry> m_controlsById;
    std::vector<CaptionFrame> m_captionFrames;
    std::vector<int> m_captionFrameIds;
    PageBackground m_background;
};
