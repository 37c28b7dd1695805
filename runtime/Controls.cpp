#include "runtime/Controls.h"

#include "runtime/ControlsSystem.h"
#include "runtime/Dialogs.h"

#include <algorithm>

TPainterFont MakeFont(const std::string& face, int pixelHeight, bool bold)
{
    TPainterFont font;
    font.Name = face;
    font.PixelSize = pixelHeight;
    font.Style = bold ? TFontStyles{fsBold} : TFontStyles{0};
    return font;
}

namespace {

// The window (form) a control placed on `parent` belongs to: the top of
// the parent chain, which owns the controls placed anywhere on it.
TComponent* OwningForm(TWinControl* parent)
{
    if (parent == nullptr)
        return nullptr;
    while (parent->Parent() != nullptr)
        parent = parent->Parent();
    return parent;
}

// What a control starts with before anyone sets a font: the classic
// desktop's dialog font.
TPainterFont DefaultControlFont()
{
    return MakeFont("Tahoma", 11);
}

}  // namespace

TControl::TControl(TWinControl* parent, const TWindowFactory& makeWindow)
    : TComponent(OwningForm(parent)), FParent(parent), FVisible(parent != nullptr), FFont(parent != nullptr ? TPainterFont(parent->Font()) : DefaultControlFont())
{
    FWindow = makeWindow(*this, parent != nullptr ? &parent->Window() : nullptr);
    FWindow->SetFont(FFont);
    if (parent != nullptr)
        parent->FControls.push_back(this);
}

TControl::~TControl()
{
    // Whatever it owns goes while the control is whole: a labelled edit's
    // label is still on the parent the edit is on.
    DestroyComponents();
    if (FParent != nullptr)
        std::erase(FParent->FControls, this);
    FWindow.reset();
}

void TControl::SetName(const std::string& value)
{
    if (StoreIfChanged(FName, value))
        FWindow->SetName(value);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    const TRect bounds = Rect(left, top, left + std::max(width, 0), top + std::max(height, 0));
    if (bounds == FBounds)
        return;
    const bool resized = bounds.Width() != FBounds.Width() || bounds.Height() != FBounds.Height();
    FBounds = bounds;
    FWindow->SetBounds(bounds);
    BoundsChanged();
    if (resized)
        Resize();
}

void TControl::SetVisible(bool value)
{
    if (!StoreIfChanged(FVisible, value))
        return;
    FWindow->SetVisible(value);
    VisibleChanged();
}

bool TControl::Showing() const
{
    return FWindow->Showing();
}

void TControl::SetEnabled(bool value)
{
    if (!StoreIfChanged(FEnabled, value))
        return;
    FWindow->SetEnabled(value);
    EnabledChanged();
}

void TControl::SetFont(const TPainterFont& value)
{
    FParentFont = false;
    InheritFont(value);
}

void TControl::InheritFont(const TPainterFont& font)
{
    if (!StoreIfChanged(FFont, font))
        return;
    FWindow->SetFont(font);
    FontChanged();
}

void TControl::SetColor(TColor value)
{
    FParentColor = false;
    InheritColor(value);
}

void TControl::InheritColor(TColor color)
{
    if (!StoreIfChanged(FColor, color))
        return;
    FWindow->SetColor(color);
}

void TControl::TakeParentColor()
{
    FParentColor = true;
    if (FParent != nullptr) {
        FColor = FParent->Color();
        FWindow->SetColor(FColor);
    }
}

void TControl::SetCursor(TCursor value)
{
    if (!StoreIfChanged(FCursor, value))
        return;
    ShowCursor(value);
}

void TControl::ShowCursor(TCursor cursor)
{
    if (StoreIfChanged(FShownCursor, cursor))
        FWindow->SetCursor(cursor);
}

void TControl::EndLoading()
{
    FLoading = false;
    Loaded();
}

void TControl::Invalidate()
{
    FWindow->Invalidate();
}

void TControl::Update()
{
    FWindow->Update();
}

double TControl::DevicePixelRatio() const
{
    return FWindow->DevicePixelRatio();
}

void TControl::SetFocus()
{
    FWindow->SetFocus();
}

bool TControl::Focused() const
{
    return FWindow->Focused();
}

TWinControl::TWinControl(TWinControl* parent, const TWindowFactory& makeWindow) : TControl(parent, makeWindow) {}

TWinControl::~TWinControl()
{
    // Children go before the window they are in; each leaves the list.
    while (!FControls.empty())
        delete FControls.back();
}

TControl* TWinControl::FindChildControl(const std::string& name) const
{
    for (TControl* control : FControls) {
        if (control->Name() == name)
            return control;
        if (const auto* container = dynamic_cast<const TWinControl*>(control))
            if (TControl* found = container->FindChildControl(name))
                return found;
    }
    return nullptr;
}

void TWinControl::SetColor(TColor value)
{
    TControl::SetColor(value);
    for (TControl* control : FControls)
        if (control->FParentColor)
            control->InheritColor(Color());
}

void TWinControl::FontChanged()
{
    for (TControl* control : FControls)
        if (control->FParentFont)
            control->InheritFont(Font());
}

void SetTabOrder(const std::vector<TWinControl*>& controls)
{
    for (std::size_t i = 1; i < controls.size(); ++i)
        controls[i]->Window().SetTabOrderAfter(controls[i - 1]->Window());
}

TCustomControl::TCustomControl(TWinControl* parent) : TWinControl(parent, CreateCustomWindow) {}

TGraphicControl::TGraphicControl(TWinControl* parent) : TControl(parent, CreateCustomWindow) {}

void TGraphicControl::RepaintNow()
{
    if (!Showing())
        return;
    Invalidate();
    Update();
}

// ---- What the window system reports

void TControlEvents::DeliverPaint(TControl& control, TPainter& painter)
{
    Guarded([&] { control.Paint(painter); });
}

void TControlEvents::DeliverMouseDown(TControl& control, TMouseButton button, TShiftState shift, int x, int y)
{
    if (control.Enabled())
        Guarded([&] { control.MouseDown(button, shift, x, y); });
}

void TControlEvents::DeliverMouseMove(TControl& control, TShiftState shift, int x, int y)
{
    if (control.Enabled())
        Guarded([&] { control.MouseMove(shift, x, y); });
}

void TControlEvents::DeliverMouseUp(TControl& control, TMouseButton button, TShiftState shift, int x, int y)
{
    if (control.Enabled())
        Guarded([&] { control.MouseUp(button, shift, x, y); });
}

void TControlEvents::DeliverMouseWheel(TControl& control, TShiftState shift, int delta, int x, int y)
{
    if (control.Enabled())
        Guarded([&] { control.MouseWheel(shift, delta, x, y); });
}

void TControlEvents::DeliverMouseLeave(TControl& control)
{
    Guarded([&] { control.MouseLeave(); });
}

void TControlEvents::DeliverMouseCaptureLost(TControl& control)
{
    Guarded([&] { control.MouseCaptureLost(); });
}

void TControlEvents::DeliverScaleChanged(TControl& control)
{
    // The font is the same in pixels of the drawing, but its device size
    // changed, and with it the extent of its text.
    Guarded([&] { control.FontChanged(); });
}

void TControlEvents::DeliverClosed(TControl& form)
{
    // Only the flag: the window is hidden already.
    form.FVisible = false;
}
