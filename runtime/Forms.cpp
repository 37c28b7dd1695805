#include "runtime/Forms.h"

#include "runtime/ControlsSystem.h"
#include "runtime/Dialogs.h"

TForm::TForm(int clientWidth, int clientHeight)
    : TWinControl(nullptr, [](TControl& form, TControlWindow*) { return CreateFormWindow(form); })
{
    FormWindow().SetClientSize(clientWidth, clientHeight);
    SetBounds(0, 0, clientWidth, clientHeight);
}

TForm::~TForm()
{
    DestroyComponents();
}

TFormWindow& TForm::FormWindow() const
{
    return static_cast<TFormWindow&>(Window());
}

void TForm::SetCaption(const std::string& value)
{
    if (StoreIfChanged(FCaption, value))
        Window().SetText(value);
}

void TForm::Close()
{
    FormWindow().Close();
}

void TForm::Activate()
{
    if (FActivated)
        return;
    FActivated = true;
    if (FOnActivate)
        FOnActivate(this);
}

void TControlEvents::DeliverActivate(TControl& form)
{
    if (auto* window = dynamic_cast<TForm*>(&form))
        Guarded([&] { window->Activate(); });
}
