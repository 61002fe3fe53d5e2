#pragma once

#include "dialogs/DialogTemplate.h"
#include "dialogs/DialogUnits.h"

#include <QFont>
#include <QSize>

#include <functional>
#include <vector>

class QWidget;

// Makes the widgets of a dialog template inside a host widget, the way the dialog manager
// creates a dialog's controls: each control at its converted rectangle, named "id<N>" after its
// resource id, with the template's caption and styles. Radio buttons form one exclusive group
// from a GroupStart control up to the next one.
class DialogBuilder
{
public:
    // Makes the widget of one control kind; the builder then names, places and styles it.
    using ControlFactory = std::function<QWidget *(const ControlTemplate &control, QWidget *parent)>;

    explicit DialogBuilder(const QFont &font = pageFont());

    // The one font of every page and dialog: Liberation Sans at 11 pixels, the size and
    // metrics of the platform's 8-point dialog font.
    static QFont pageFont();
    // The font of hex fields: fixed-pitch, so that every digit takes the same room and a field
    // sized for its byte count shows its longest value whatever the digits.
    static QFont hexFont();
    // The object name of a control's widget.
    static QString objectName(int id);

    const QFont &font() const { return m_font; }
    const DialogUnits &units() const { return m_units; }

    // The template's client size in pixels.
    QSize templateSize(const DialogTemplate &dialogTemplate) const;
    QRect controlRect(const ControlTemplate &control) const;

    // Sets the host's font and size and creates the controls as its children, in template
    // order (the order is also the tab order). Returns the widgets in template order.
    std::vector<QWidget *> build(const DialogTemplate &dialogTemplate, QWidget *host) const;

    // Makes one control as build() does (named, placed, styled), for controls a page makes at
    // run time. Radio buttons made so join no exclusive group.
    QWidget *buildControl(const ControlTemplate &control, QWidget *host) const;

    // Replaces the widget made for one control kind (for every builder); an empty factory
    // restores the built-in one.
    static void setControlFactory(ControlKind kind, ControlFactory factory);

private:
    QWidget *createWidget(const ControlTemplate &control, QWidget *parent) const;

    QFont m_font;
    DialogUnits m_units;
};
