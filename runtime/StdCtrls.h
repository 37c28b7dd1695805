// The standard controls a window is built from: label, group box, push
// button, combo box, check box and the edit with an attached label. Each
// keeps the few properties and events the window uses and is drawn by the
// window system's own control (or, for the label and group box on Linux,
// painted to look like the classic one); handlers run guarded, so an
// exception from one reaches the application's error box.
#pragma once

#include "runtime/Classes.h"
#include "runtime/Controls.h"
#include "runtime/Graphics.h"

#include <string>

class TCheckWindow;
class TComboWindow;
class TEditWindow;
class TLabelWindow;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A line (or lines) of text on its parent's background. A disabled label
// shows its text greyed, engraved the way disabled text looks on the
// classic desktop.
class TLabel : public TControl {
public:
    explicit TLabel(TWinControl* parent);

    // Lines are separated by "\n".
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    // The text colour while enabled; clWindowText by default.
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // With AutoSize the label takes the size of its text whenever the text
    // or the font changes (keeping its right edge or centre when so
    // aligned); without it the size stays as placed.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);

protected:
    void FontChanged() override;

private:
    TLabelWindow& LabelWindow() const;
    void AdjustSize();

    std::string FCaption;
    TColor FFontColor = clWindowText;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
};

// A frame with its caption on the top line. Children stay exactly where
// they are placed: the frame is drawn around them, and nothing lays them
// out.
class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TWinControl* parent);

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);

private:
    std::string FCaption;
};

class TButton : public TWinControl {
public:
    explicit TButton(TWinControl* parent);

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);

    // What pressing the button does: runs OnClick.
    void Click();
    const TNotifyEvent& OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent handler) { FOnClick = std::move(handler); }

private:
    std::string FCaption;
    TNotifyEvent FOnClick;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

// csDropDown has a text the user can edit; csDropDownList only chooses.
// As on the classic desktop, adding items never changes the text: an
// editable box keeps what it shows until the user picks an item.
class TComboBox : public TWinControl {
public:
    TComboBox(TWinControl* parent, TComboBoxStyle style);

    TComboBoxStyle Style() const { return FStyle; }
    // The edit's text, or the chosen item's ("" without one).
    std::string Text() const;
    // An editable box shows `value`; a list box chooses the item of that
    // text, or none.
    void SetText(const std::string& value);
    int ItemIndex() const;
    void SetItemIndex(int value);
    void AddItem(const std::string& item);
    int ItemCount() const;
    // Raises EListError outside 0 .. ItemCount() - 1.
    std::string Item(int index) const;
    // Removes every item and empties the text.
    void Clear();
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);
    // Opens or closes the list as the user would; opening runs OnDropDown
    // first.
    bool DroppedDown() const;
    void SetDroppedDown(bool value);

    // Runs just before the list opens, so it can fill the list.
    const TNotifyEvent& OnDropDown() const { return FOnDropDown; }
    void SetOnDropDown(TNotifyEvent handler) { FOnDropDown = std::move(handler); }

private:
    friend struct TControlEvents;
    TComboWindow& ComboWindow() const;
    void DropDown();

    TComboBoxStyle FStyle;
    int FItemHeight = 16;
    TNotifyEvent FOnDropDown;
};

// OnClick runs whenever the checked state changes, by the user or by the
// program, as the classic check box does.
class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TWinControl* parent);

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    bool Checked() const;
    void SetChecked(bool value);

    const TNotifyEvent& OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent handler) { FOnClick = std::move(handler); }

private:
    friend struct TControlEvents;
    TCheckWindow& CheckWindow() const;
    void Click();

    std::string FCaption;
    TNotifyEvent FOnClick;
};

// A one-line edit with its label to the left, three pixels apart and
// centred on the edit's height. The label is a sibling of the edit, moved,
// enabled and shown with it, and owned and freed by it.
class TLabeledEdit : public TWinControl {
public:
    explicit TLabeledEdit(TWinControl* parent);

    static constexpr int kLabelSpacing = 3;

    TLabel* EditLabel() const { return FEditLabel; }
    std::string Text() const;
    void SetText(const std::string& value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);

protected:
    void BoundsChanged() override;
    void EnabledChanged() override;
    void VisibleChanged() override;

private:
    TEditWindow& EditWindow() const;
    void PlaceLabel();

    TLabel* FEditLabel;
    bool FReadOnly = false;
};
