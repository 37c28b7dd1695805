// The standard controls a window is built from: label, group box, push
// button, combo box, check box and the edit with an attached label. Each is
// a Qt widget with the few properties and events the window uses; handlers
// run through Guarded, so an exception from one reaches the application's
// error box and never Qt's event loop.
#pragma once

#include "runtime/Classes.h"
#include "runtime/Controls.h"
#include "runtime/Graphics.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <string>
#include <vector>

// A font as window descriptions give it: a face and a character height in
// pixels. Where the face is missing the platform's closest one stands in.
QFont MakeFont(const QString& face, int pixelHeight, bool bold = false);

// Sets `role` of the widget's palette to `color` in every colour group, so
// the colour stays when the widget is disabled or inactive.
void SetPaletteColor(QWidget* widget, QPalette::ColorRole role, TColor color);

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A line (or lines) of text painted on its parent's background. A disabled
// label shows its text greyed, engraved the way disabled text looks on the
// classic desktop (a light copy one pixel down and right, then the shadow
// colour).
class TLabel : public QWidget, public TComponent {
    Q_OBJECT
public:
    explicit TLabel(QWidget* parent);

    // Lines are separated by "\n".
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    // The text colour while enabled; clWindowText by default.
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // With AutoSize the label takes the size of its text whenever the text
    // or the font changes; without it the size stays as placed.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void AdjustSize();
    int TextFlags() const;

    QString FCaption;
    TColor FFontColor = clWindowText;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
};

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

// A frame with its caption (title()) on the top line, painted on the box's
// own background. Children stay exactly where they are placed: the frame
// is drawn around them, and nothing lays them out. A disabled box shows its
// caption engraved, as a disabled label does.
class TGroupBox : public QGroupBox, public TComponent {
    Q_OBJECT
public:
    explicit TGroupBox(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TButton : public QPushButton, public TComponent {
    Q_OBJECT
public:
    explicit TButton(QWidget* parent);

    const TNotifyEvent& OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent handler) { FOnClick = std::move(handler); }

private:
    TNotifyEvent FOnClick;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

// csDropDown has a text the user can edit; csDropDownList only chooses.
// As on the classic desktop, adding items never changes the text: an
// editable box keeps what it shows until the user picks an item.
class TComboBox : public QComboBox, public TComponent {
    Q_OBJECT
public:
    TComboBox(QWidget* parent, TComboBoxStyle style);

    TComboBoxStyle Style() const { return FStyle; }
    QString Text() const { return currentText(); }
    void SetText(const QString& value);
    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int value) { setCurrentIndex(value); }
    void AddItem(const QString& item);
    // Removes every item and empties the text.
    void Clear();
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);

    // Runs just before the list opens, so it can fill the list.
    const TNotifyEvent& OnDropDown() const { return FOnDropDown; }
    void SetOnDropDown(TNotifyEvent handler) { FOnDropDown = std::move(handler); }

    void showPopup() override;

private:
    TComboBoxStyle FStyle;
    TColor FColor = clWindow;
    int FItemHeight = 16;
    TNotifyEvent FOnDropDown;
};

// OnClick runs whenever the checked state changes, by the user or by the
// program, as the classic check box does.
class TCheckBox : public QCheckBox, public TComponent {
    Q_OBJECT
public:
    explicit TCheckBox(QWidget* parent);

    bool Checked() const { return isChecked(); }
    void SetChecked(bool value) { setChecked(value); }
    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    const TNotifyEvent& OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent handler) { FOnClick = std::move(handler); }

private:
    TColor FColor = clBtnFace;
    TNotifyEvent FOnClick;
};

// A one-line edit with its label to the left, three pixels apart and
// centred on the edit's height. The label is a sibling of the edit, moved,
// enabled and shown with it, and owned and freed by it.
class TLabeledEdit : public QLineEdit, public TComponent {
    Q_OBJECT
public:
    explicit TLabeledEdit(QWidget* parent);

    static constexpr int kLabelSpacing = 3;

    TLabel* EditLabel() const { return FEditLabel; }
    // Places the edit and its label; a hidden widget hears of its moves
    // only when shown, so the label is placed here at once.
    void SetBounds(int left, int top, int width, int height);
    QString Text() const { return text(); }
    void SetText(const QString& value) { setText(value); }
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool value) { setReadOnly(value); }

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void PlaceLabel();

    TLabel* FEditLabel;
};
