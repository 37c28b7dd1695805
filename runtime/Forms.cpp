#include "runtime/Forms.h"

#include "runtime/Dialogs.h"
#include "runtime/StdCtrls.h"

#include <QGuiApplication>
#include <QScreen>

TForm::TForm(int clientWidth, int clientHeight)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      TComponent(nullptr)
{
    setFixedSize(clientWidth, clientHeight);
}

TForm::~TForm()
{
    DestroyComponents();
}

void TForm::SetColor(TColor value)
{
    if (!StoreIfChanged(FColor, value))
        return;
    setAutoFillBackground(true);
    SetPaletteColor(this, QPalette::Window, value);
}

void TForm::CentreOnDesktop()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect desktop = screen->availableGeometry();
    move(desktop.center() - rect().center());
}

void TForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (FShownOnce)
        return;
    FShownOnce = true;
    CentreOnDesktop();
    Guarded([this] {
        if (FOnActivate)
            FOnActivate(this);
    });
}
