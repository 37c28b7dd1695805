#include "runtime/Controls.h"

Qt::CursorShape CursorShape(TCursor cursor)
{
    switch (cursor) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

TComponent* OwningForm(QWidget* parent)
{
    return parent == nullptr ? nullptr : dynamic_cast<TComponent*>(parent->window());
}

TControl::TControl(QWidget* parent) : QWidget(parent), TComponent(OwningForm(parent)) {}

TControl::~TControl()
{
    DestroyComponents();
}

void TControl::SetCursor(TCursor value)
{
    if (value == FCursor)
        return;
    FCursor = value;
    ShowCursor(value);
}

void TControl::ShowCursor(TCursor cursor)
{
    if (cursor == FShownCursor)
        return;
    FShownCursor = cursor;
    // The default is no cursor of the control's own: the parent's shows.
    if (cursor == crDefault)
        unsetCursor();
    else
        setCursor(CursorShape(cursor));
}

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
