#include "runtime/Controls.h"

TControl::TControl(QWidget* parent) : QWidget(parent) {}

void TControl::EndLoading()
{
    FLoading = false;
    Loaded();
}

void TControl::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    update();
}

TGraphicControl::TGraphicControl(QWidget* parent) : TControl(parent) {}

void TGraphicControl::RepaintNow()
{
    if (isVisible() && parentWidget() != nullptr)
        repaint();
}
