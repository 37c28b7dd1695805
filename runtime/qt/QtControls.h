// The controls' windows on Qt: what the Linux side and its tests need to
// reach the widgets behind the controls.
#pragma once

#include "runtime/Controls.h"
#include "runtime/Graphics.h"

#include <QFont>
#include <QPalette>
#include <QRect>
#include <QSize>

class QWidget;

// The widget of a control's window.
QWidget* WidgetOf(const TControl& control);

// The Qt font the controls use for `font`.
QFont ControlFont(const TPainterFont& font);

// Sets `role` of the widget's palette to `color` in every colour group, so
// the colour stays when the widget is disabled or inactive.
void SetPaletteColor(QWidget* widget, QPalette::ColorRole role, TColor color);

// The Qt shape closest to `cursor`; the arrow for a number that names none.
Qt::CursorShape CursorShape(TCursor cursor);

// Where a group box draws its frame and caption, as on the classic desktop:
// the frame's top line runs through the middle of the caption's text height
// and the caption sits on it, indented, over its own background.
struct GroupBoxGeometry {
    static constexpr int kCaptionIndent = 8;

    // The shadow line's rectangle (inclusive edges); the highlight line runs
    // one pixel right of and below it.
    QRect frame;
    // The caption's text and background; empty without a caption.
    QRect caption;
};

// The geometry for a box of `size` whose caption font is `textHeight`
// pixels high (ascent plus descent) and whose caption is `captionWidth`
// pixels wide, blanks included. Needs no widget.
GroupBoxGeometry GroupBoxLayout(QSize size, int textHeight, int captionWidth);
