#include "runtime/StdCtrls.h"

#include "runtime/ControlsSystem.h"
#include "runtime/Dialogs.h"
#include "runtime/SysUtils.h"

#include <algorithm>

// ---- TLabel

TLabel::TLabel(TWinControl* parent) : TControl(parent, CreateLabelWindow)
{
    TakeParentColor();
    AdjustSize();
}

TLabelWindow& TLabel::LabelWindow() const
{
    return static_cast<TLabelWindow&>(Window());
}

void TLabel::SetCaption(const std::string& value)
{
    if (!StoreIfChanged(FCaption, value))
        return;
    LabelWindow().SetText(value);
    AdjustSize();
}

void TLabel::SetFontColor(TColor value)
{
    if (StoreIfChanged(FFontColor, value))
        LabelWindow().SetFontColor(value);
}

void TLabel::SetAlignment(TAlignment value)
{
    if (StoreIfChanged(FAlignment, value))
        LabelWindow().SetAlignment(value);
}

void TLabel::SetAutoSize(bool value)
{
    if (StoreIfChanged(FAutoSize, value))
        AdjustSize();
}

void TLabel::FontChanged()
{
    AdjustSize();
}

void TLabel::AdjustSize()
{
    if (!FAutoSize)
        return;
    const TSize extent = LabelWindow().TextExtent(FCaption);
    const int width = std::max(extent.Width, 1);
    const int height = std::max(extent.Height, 1);
    // Right- and centre-aligned labels keep their anchor edge or centre.
    int left = Left();
    if (FAlignment == taRightJustify)
        left = BoundsRect().Right - width;
    else if (FAlignment == taCenter)
        left = Left() + (Width() - width) / 2;
    SetBounds(left, Top(), width, height);
}

// ---- TGroupBox

TGroupBox::TGroupBox(TWinControl* parent) : TWinControl(parent, CreateGroupBoxWindow)
{
    TakeParentColor();
}

void TGroupBox::SetCaption(const std::string& value)
{
    if (StoreIfChanged(FCaption, value))
        Window().SetText(value);
}

// ---- TButton

TButton::TButton(TWinControl* parent) : TWinControl(parent, CreateButtonWindow) {}

void TButton::SetCaption(const std::string& value)
{
    if (StoreIfChanged(FCaption, value))
        Window().SetText(value);
}

void TButton::Click()
{
    if (FOnClick)
        FOnClick(this);
}

void TControlEvents::DeliverClick(TControl& buttonOrCheckBox)
{
    Guarded([&] {
        if (auto* button = dynamic_cast<TButton*>(&buttonOrCheckBox))
            button->Click();
        else if (auto* box = dynamic_cast<TCheckBox*>(&buttonOrCheckBox))
            box->Click();
    });
}

// ---- TComboBox

TComboBox::TComboBox(TWinControl* parent, TComboBoxStyle style)
    : TWinControl(parent,
                  [style](TControl& box, TControlWindow* parentWindow) {
                      return CreateComboWindow(box, parentWindow, style);
                  }),
      FStyle(style)
{
    TControl::SetColor(clWindow);
}

TComboWindow& TComboBox::ComboWindow() const
{
    return static_cast<TComboWindow&>(Window());
}

std::string TComboBox::Text() const
{
    return ComboWindow().Text();
}

void TComboBox::SetText(const std::string& value)
{
    if (FStyle == csDropDown) {
        ComboWindow().SetText(value);
        return;
    }
    int index = -1;
    for (int i = 0; i < ItemCount() && index < 0; ++i)
        if (Item(i) == value)
            index = i;
    SetItemIndex(index);
}

int TComboBox::ItemIndex() const
{
    return ComboWindow().ItemIndex();
}

void TComboBox::SetItemIndex(int value)
{
    ComboWindow().SetItemIndex(value >= 0 && value < ItemCount() ? value : -1);
}

void TComboBox::AddItem(const std::string& item)
{
    ComboWindow().AddItem(item);
}

int TComboBox::ItemCount() const
{
    return ComboWindow().ItemCount();
}

std::string TComboBox::Item(int index) const
{
    if (index < 0 || index >= ItemCount())
        throw EListError(index);
    return ComboWindow().Item(index);
}

void TComboBox::Clear()
{
    ComboWindow().Clear();
}

void TComboBox::SetItemHeight(int value)
{
    if (StoreIfChanged(FItemHeight, value))
        ComboWindow().SetItemHeight(value);
}

bool TComboBox::DroppedDown() const
{
    return ComboWindow().DroppedDown();
}

void TComboBox::SetDroppedDown(bool value)
{
    // The window reports the opening like the user's, through DropDown.
    ComboWindow().SetDroppedDown(value);
}

void TComboBox::DropDown()
{
    if (FOnDropDown)
        FOnDropDown(this);
}

void TControlEvents::DeliverDropDown(TControl& comboBox)
{
    if (auto* box = dynamic_cast<TComboBox*>(&comboBox))
        Guarded([&] { box->DropDown(); });
}

// ---- TCheckBox

TCheckBox::TCheckBox(TWinControl* parent) : TWinControl(parent, CreateCheckWindow)
{
    TakeParentColor();
}

TCheckWindow& TCheckBox::CheckWindow() const
{
    return static_cast<TCheckWindow&>(Window());
}

void TCheckBox::SetCaption(const std::string& value)
{
    if (StoreIfChanged(FCaption, value))
        Window().SetText(value);
}

bool TCheckBox::Checked() const
{
    return CheckWindow().Checked();
}

void TCheckBox::SetChecked(bool value)
{
    // The window reports the change like a click, through Click.
    CheckWindow().SetChecked(value);
}

void TCheckBox::Click()
{
    if (FOnClick)
        FOnClick(this);
}


// ---- TLabeledEdit

TLabeledEdit::TLabeledEdit(TWinControl* parent)
    : TWinControl(parent, CreateEditWindow), FEditLabel(new TLabel(parent))
{
    TControl::SetColor(clWindow);
    // The edit owns its label; the window only places it.
    InsertComponent(FEditLabel);
    FEditLabel->SetName("SubLabel");
}

TEditWindow& TLabeledEdit::EditWindow() const
{
    return static_cast<TEditWindow&>(Window());
}

std::string TLabeledEdit::Text() const
{
    return EditWindow().Text();
}

void TLabeledEdit::SetText(const std::string& value)
{
    EditWindow().SetText(value);
}

void TLabeledEdit::SetReadOnly(bool value)
{
    if (StoreIfChanged(FReadOnly, value))
        EditWindow().SetReadOnly(value);
}

void TLabeledEdit::PlaceLabel()
{
    FEditLabel->SetBounds(Left() - FEditLabel->Width() - kLabelSpacing, Top() + (Height() - FEditLabel->Height()) / 2,
                          FEditLabel->Width(), FEditLabel->Height());
}

void TLabeledEdit::BoundsChanged()
{
    PlaceLabel();
}

void TLabeledEdit::EnabledChanged()
{
    FEditLabel->SetEnabled(Enabled());
}

void TLabeledEdit::VisibleChanged()
{
    FEditLabel->SetVisible(Visible());
}
