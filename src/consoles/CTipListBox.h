#pragma once

#include <QColor>
#include <QListWidget>

class CListTipWnd;
class CTipListDelegate;

// The list of the consoles and of the command picker: every item drawn in fixed colours, a
// line wider than the list cut with " ... ", and, with the tip enabled, a clicked line shown
// whole in a tip window. A click always leaves exactly the clicked line selected.
class CTipListBox : public QListWidget
{
    Q_OBJECT
public:
    // Fill of a selected item; its text takes the palette's highlighted-text colour.
    static constexpr QColor SelectedItemFill{54, 82, 143};
    // Frame of the item with the focus.
    static constexpr QColor FocusFrameColour{255, 0, 0};

    explicit CTipListBox(QWidget *parent = nullptr);
    ~CTipListBox() override;

    // A list box filling a template's placeholder control (ControlKind::Custom). The list takes
    // over the placeholder's object name ("id<N>"), so that it is found by its control id; the
    // placeholder stays, renamed "id<N>Host", as the page's control of that id.
    static CTipListBox *inPlaceOf(QWidget *placeholder);

    // Appends a line and makes it the single selected line.
    void AddItem(const QString &text);
    void ResetItems();
    // Creates the tip window and switches the tip on: from now on a click shows the clicked
    // line whole.
    void EnableTip();
    bool tipEnabled() const { return m_tip != nullptr; }
    CListTipWnd *tipWindow() const { return m_tip; }

    // Fixed item height in pixels; the default is the font's line height.
    void SetItemHeight(int height_px);
    int itemHeight() const;

    // The text an item shows in a rectangle `rectWidth_px` wide when the whole text measures
    // `textWidth_px`: the text itself when it fits, else as many characters as fit at the
    // text's average character width, less five, followed by " ... ".
    static QString ShownItemText(const QString &text, int textWidth_px, int rectWidth_px);

signals:
    // A double-click on a line (nothing when no line is under the pointer).
    void lineDoubleClicked(const QString &text);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    CTipListDelegate *m_delegate;
    CListTipWnd *m_tip = nullptr;
};
