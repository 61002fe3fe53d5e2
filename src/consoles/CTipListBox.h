#pragma once

#include <QListWidget>

class CListTipWnd;
class CTipListDelegate;

// The list of the consoles and of the command picker: every item drawn in fixed colours (by
// CTipListDelegate), a line wider than the list cut with " ... ", and, with the tip enabled, a
// clicked line shown whole in a tip window. A click always leaves exactly the clicked line selected.
class CTipListBox : public QListWidget
{
    Q_OBJECT
public:
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
