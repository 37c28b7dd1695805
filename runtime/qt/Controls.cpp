// The controls' windows on Qt: a widget each, made as a child of the
// parent's widget and deleted with the control (children go first, so Qt
// never deletes a widget a control still holds).
#include "runtime/ControlsSystem.h"
#include "runtime/Dialogs.h"
#include "runtime/qt/QtControls.h"
#include "runtime/qt/QtPainter.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCloseEvent>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QStyleOptionComplex>
#include <QWheelEvent>

#include <algorithm>

namespace {

QString ToQString(const std::string& text)
{
    return QString::fromStdString(text);
}

// What every Qt window of a control can give: the widget behind it.
class TQtWidgetWindow {
public:
    virtual ~TQtWidgetWindow() = default;
    virtual QWidget* Widget() const = 0;
};

// The parts of a window that are the same for every kind of control, on
// `TWidget` (owned) implementing `TInterface`.
template <class TInterface, class TWidget>
class TQtWindow : public TInterface, public TQtWidgetWindow {
public:
    explicit TQtWindow(TWidget* widget) : FWidget(widget) {}
    ~TQtWindow() override { delete FWidget; }

    QWidget* Widget() const override { return FWidget; }

    void SetName(const std::string& name) override { FWidget->setObjectName(ToQString(name)); }
    void SetBounds(const TRect& bounds) override
    {
        FWidget->setGeometry(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    }
    void SetVisible(bool visible) override { FWidget->setVisible(visible); }
    bool Showing() const override { return FWidget->isVisible(); }
    void SetEnabled(bool enabled) override { FWidget->setEnabled(enabled); }
    void SetFont(const TPainterFont& font) override { FWidget->setFont(ControlFont(font)); }
    void SetColor(TColor) override {}
    void SetCursor(TCursor cursor) override
    {
        // The default is no cursor of the control's own: the parent's shows.
        if (cursor == crDefault)
            FWidget->unsetCursor();
        else
            FWidget->setCursor(CursorShape(cursor));
    }
    void SetText(const std::string&) override {}
    std::string Text() const override { return {}; }
    void Invalidate() override { FWidget->update(); }
    void Update() override
    {
        if (FWidget->isVisible())
            FWidget->repaint();
    }
    double DevicePixelRatio() const override { return FWidget->devicePixelRatioF(); }
    void SetFocus() override { FWidget->setFocus(); }
    bool Focused() const override { return FWidget->hasFocus(); }
    void SetTabOrderAfter(TControlWindow& previous) override
    {
        if (auto* before = dynamic_cast<TQtWidgetWindow*>(&previous))
            QWidget::setTabOrder(before->Widget(), FWidget);
    }

protected:
    TWidget* FWidget;
};

QWidget* ParentWidget(TControlWindow* parent)
{
    auto* window = dynamic_cast<TQtWidgetWindow*>(parent);
    return window != nullptr ? window->Widget() : nullptr;
}

TShiftState ShiftOf(Qt::KeyboardModifiers keys, Qt::MouseButtons buttons)
{
    TShiftState shift = 0;
    if (keys & Qt::ShiftModifier)
        shift |= ssShift;
    if (keys & Qt::AltModifier)
        shift |= ssAlt;
    if (keys & Qt::ControlModifier)
        shift |= ssCtrl;
    if (buttons & Qt::LeftButton)
        shift |= ssLeft;
    if (buttons & Qt::RightButton)
        shift |= ssRight;
    if (buttons & Qt::MiddleButton)
        shift |= ssMiddle;
    return shift;
}

// Buttons other than the three the controls know are not passed on.
bool ButtonOf(Qt::MouseButton button, TMouseButton& result)
{
    switch (button) {
    case Qt::LeftButton: result = mbLeft; return true;
    case Qt::RightButton: result = mbRight; return true;
    case Qt::MiddleButton: result = mbMiddle; return true;
    default: return false;
    }
}

// ---- The form

class TQtFormWidget : public QWidget {
public:
    TQtFormWidget(std::function<void()> activated, std::function<void()> closed)
        : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
          FActivated(std::move(activated)), FClosed(std::move(closed))
    {
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        QWidget::closeEvent(event);
        FClosed();
    }
    void showEvent(QShowEvent* event) override
    {
        QWidget::showEvent(event);
        if (FShownOnce)
            return;
        FShownOnce = true;
        CentreOnDesktop();
        FActivated();
    }

private:
    void CentreOnDesktop()
    {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen == nullptr)
            return;
        const QRect desktop = screen->availableGeometry();
        move(desktop.center() - rect().center());
    }

    std::function<void()> FActivated;
    std::function<void()> FClosed;
    bool FShownOnce = false;
};

class TQtFormWindow final : public TQtWindow<TFormWindow, TQtFormWidget> {
public:
    explicit TQtFormWindow(TControl& form)
        : TQtWindow(new TQtFormWidget([&form] { TControlEvents::DeliverActivate(form); },
                                             [&form] { TControlEvents::DeliverClosed(form); }))
    {
    }

    // A window stays where the window system puts it; only its size is ours.
    void SetBounds(const TRect&) override {}
    void SetClientSize(int width, int height) override { FWidget->setFixedSize(width, height); }
    void Close() override { FWidget->close(); }
    void SetText(const std::string& text) override { FWidget->setWindowTitle(ToQString(text)); }
    std::string Text() const override { return FWidget->windowTitle().toStdString(); }
    void SetColor(TColor color) override
    {
        FWidget->setAutoFillBackground(true);
        SetPaletteColor(FWidget, QPalette::Window, color);
    }
};

// ---- Controls that paint themselves

class TQtCustomWidget : public QWidget {
public:
    TQtCustomWidget(TControl& control, QWidget* parent) : QWidget(parent), FControl(control)
    {
        // Every pixel comes from the control's own painting: no erase
        // before a paint, so a repaint never flashes the background.
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setAutoFillBackground(false);
        // Moves without a button held reach the control too (the chart's
        // cursor follows them).
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const std::unique_ptr<TPainter> painter = CreateWidgetPainter(*this);
        TControlEvents::DeliverPaint(FControl, *painter);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        TMouseButton button;
        const QPoint at = event->position().toPoint();
        if (ButtonOf(event->button(), button))
            TControlEvents::DeliverMouseDown(FControl, button, ShiftOf(event->modifiers(), event->buttons()), at.x(), at.y());
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        const QPoint at = event->position().toPoint();
        TControlEvents::DeliverMouseMove(FControl, ShiftOf(event->modifiers(), event->buttons()), at.x(), at.y());
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        TMouseButton button;
        const QPoint at = event->position().toPoint();
        if (ButtonOf(event->button(), button))
            TControlEvents::DeliverMouseUp(FControl, button, ShiftOf(event->modifiers(), event->buttons()), at.x(), at.y());
    }
    void wheelEvent(QWheelEvent* event) override
    {
        const QPoint at = event->position().toPoint();
        TControlEvents::DeliverMouseWheel(FControl, ShiftOf(event->modifiers(), event->buttons()), event->angleDelta().y(), at.x(),
                          at.y());
    }
    void leaveEvent(QEvent*) override { TControlEvents::DeliverMouseLeave(FControl); }

private:
    TControl& FControl;
};

class TQtCustomWindow final : public TQtWindow<TControlWindow, TQtCustomWidget> {
public:
    using TQtWindow::TQtWindow;
    void SetColor(TColor) override { FWidget->update(); }
};

// ---- Label

class TQtLabelWidget : public QWidget {
public:
    explicit TQtLabelWidget(QWidget* parent) : QWidget(parent) {}

    QString Caption;
    TColor FontColor = clWindowText;
    int Flags = Qt::AlignLeft | Qt::AlignTop;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setFont(font());
        const QRect area = rect();
        if (isEnabled()) {
            painter.setPen(ToQColor(FontColor));
            painter.drawText(area, Flags, Caption);
            return;
        }
        // Engraved: a light copy one pixel down and right, then the shadow.
        painter.setPen(ToQColor(clBtnHighlight));
        painter.drawText(area.translated(1, 1), Flags, Caption);
        painter.setPen(ToQColor(clBtnShadow));
        painter.drawText(area, Flags, Caption);
    }
};

class TQtLabelWindow final : public TQtWindow<TLabelWindow, TQtLabelWidget> {
public:
    using TQtWindow::TQtWindow;

    void SetText(const std::string& text) override
    {
        FWidget->Caption = ToQString(text);
        FWidget->update();
    }
    std::string Text() const override { return FWidget->Caption.toStdString(); }
    void SetFontColor(TColor color) override
    {
        FWidget->FontColor = color;
        FWidget->update();
    }
    void SetAlignment(TAlignment alignment) override
    {
        switch (alignment) {
        case taRightJustify: FWidget->Flags = Qt::AlignRight | Qt::AlignTop; break;
        case taCenter: FWidget->Flags = Qt::AlignHCenter | Qt::AlignTop; break;
        case taLeftJustify: FWidget->Flags = Qt::AlignLeft | Qt::AlignTop; break;
        }
        FWidget->update();
    }
    TSize TextExtent(const std::string& text) const override
    {
        const QRect extent = QFontMetrics(FWidget->font()).boundingRect(QRect(0, 0, 0, 0), FWidget->Flags, ToQString(text));
        return {extent.width(), extent.height()};
    }
};

// ---- Group box

// A one-pixel rectangle outline, by fills: a pen of width one would be one
// device pixel thin on a dense screen.
void FrameRect(QPainter& painter, const QRect& area, const QColor& color)
{
    painter.fillRect(QRect(area.left(), area.top(), area.width(), 1), color);
    painter.fillRect(QRect(area.left(), area.bottom(), area.width(), 1), color);
    painter.fillRect(QRect(area.left(), area.top(), 1, area.height()), color);
    painter.fillRect(QRect(area.right(), area.top(), 1, area.height()), color);
}

class TQtGroupBoxWidget : public QGroupBox {
public:
    explicit TQtGroupBoxWidget(QWidget* parent) : QGroupBox(parent)
    {
        // A group box paints its background, so it covers what lies under it.
        setAutoFillBackground(true);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        // The style's group box puts the caption above the frame and would
        // leave no room for children placed for the classic one.
        QPainter painter(this);
        painter.setFont(font());
        const QFontMetrics metrics(font());
        const GroupBoxGeometry geometry = GroupBoxLayout(size(), metrics.height(), metrics.horizontalAdvance(title()));
        const QColor shadow = ToQColor(clBtnShadow);
        const QColor highlight = ToQColor(clBtnHighlight);
        FrameRect(painter, geometry.frame.translated(1, 1), highlight);
        FrameRect(painter, geometry.frame, shadow);
        if (geometry.caption.isEmpty())
            return;

        painter.fillRect(geometry.caption, palette().color(backgroundRole()));
        constexpr int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
        if (isEnabled()) {
            painter.setPen(ToQColor(clWindowText));
            painter.drawText(geometry.caption, flags, title());
            return;
        }
        painter.setPen(highlight);
        painter.drawText(geometry.caption.translated(1, 1), flags, title());
        painter.setPen(shadow);
        painter.drawText(geometry.caption, flags, title());
    }
};

class TQtGroupBoxWindow final : public TQtWindow<TControlWindow, TQtGroupBoxWidget> {
public:
    using TQtWindow::TQtWindow;
    void SetText(const std::string& text) override { FWidget->setTitle(ToQString(text)); }
    std::string Text() const override { return FWidget->title().toStdString(); }
    void SetColor(TColor color) override { SetPaletteColor(FWidget, QPalette::Window, color); }
};

// ---- Button and check box

class TQtButtonWindow final : public TQtWindow<TControlWindow, QPushButton> {
public:
    TQtButtonWindow(TControl& button, QWidget* parent) : TQtWindow(new QPushButton(parent))
    {
        QObject::connect(FWidget, &QPushButton::clicked, [&button] { TControlEvents::DeliverClick(button); });
    }
    void SetText(const std::string& text) override { FWidget->setText(ToQString(text)); }
    std::string Text() const override { return FWidget->text().toStdString(); }
};

class TQtCheckWindow final : public TQtWindow<TCheckWindow, QCheckBox> {
public:
    TQtCheckWindow(TControl& box, QWidget* parent) : TQtWindow(new QCheckBox(parent))
    {
        QObject::connect(FWidget, &QCheckBox::toggled, [&box] { TControlEvents::DeliverClick(box); });
    }
    void SetText(const std::string& text) override { FWidget->setText(ToQString(text)); }
    std::string Text() const override { return FWidget->text().toStdString(); }
    void SetColor(TColor color) override
    {
        FWidget->setAutoFillBackground(true);
        // The style may paint a check box on the button colour; fill with
        // whichever role it uses.
        SetPaletteColor(FWidget, FWidget->backgroundRole(), color);
    }
    void SetChecked(bool checked) override { FWidget->setChecked(checked); }
    bool Checked() const override { return FWidget->isChecked(); }
};

// ---- Combo box

// The classic combo box: a two-pixel border and an arrow button as wide as
// a scroll bar (17 pixels), the rest for the text. The current style gives
// the arrow more room, which in a box as narrow as the port list (81
// pixels) scrolls a name like "ttyACM0" by its first letter.
class TClassicComboStyle : public QProxyStyle {
public:
    TClassicComboStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override
    {
        if (control != CC_ComboBox || (part != SC_ComboBoxEditField && part != SC_ComboBoxArrow))
            return QProxyStyle::subControlRect(control, option, part, widget);
        const QRect inside = option->rect.adjusted(kBorder, kBorder, -kBorder, -kBorder);
        QRect arrow = inside;
        arrow.setLeft(inside.right() + 1 - kArrowWidth);
        if (part == SC_ComboBoxArrow)
            return visualRect(option->direction, option->rect, arrow);
        QRect field = inside;
        field.setRight(arrow.left() - 1);
        return visualRect(option->direction, option->rect, field);
    }

private:
    static constexpr int kBorder = 2;
    static constexpr int kArrowWidth = 17;
};

// One for every box, made on first use and freed with the application,
// after the windows; a style must outlive the widgets that use it.
QStyle* ClassicComboStyle()
{
    static QPointer<TClassicComboStyle> style;
    if (style.isNull()) {
        style = new TClassicComboStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

class TQtComboWidget : public QComboBox {
public:
    TQtComboWidget(TControl& box, QWidget* parent) : QComboBox(parent), FBox(box) {}

    void showPopup() override
    {
        TControlEvents::DeliverDropDown(FBox);
        // The list may be wider than the box: names are never cut off.
        view()->setMinimumWidth(view()->sizeHintForColumn(0) + 2 * view()->frameWidth());
        QComboBox::showPopup();
    }

private:
    TControl& FBox;
};

class TQtComboWindow final : public TQtWindow<TComboWindow, TQtComboWidget> {
public:
    TQtComboWindow(TControl& box, QWidget* parent, TComboBoxStyle style) : TQtWindow(new TQtComboWidget(box, parent))
    {
        FWidget->setStyle(ClassicComboStyle());
        FWidget->setEditable(style == csDropDown);
        // Typed text is a name to use, not an item to add to the list.
        FWidget->setInsertPolicy(QComboBox::NoInsert);
        // A chosen name longer than the box shows its beginning, not its end.
        if (QLineEdit* edit = FWidget->lineEdit())
            QObject::connect(FWidget, &QComboBox::textActivated, edit, [edit] { edit->setCursorPosition(0); });
    }

    void SetText(const std::string& text) override
    {
        if (FWidget->isEditable())
            FWidget->setEditText(ToQString(text));
    }
    std::string Text() const override { return FWidget->currentText().toStdString(); }
    void SetColor(TColor color) override
    {
        SetPaletteColor(FWidget, QPalette::Base, color);
        if (FWidget->lineEdit() != nullptr)
            SetPaletteColor(FWidget->lineEdit(), QPalette::Base, color);
    }
    void AddItem(const std::string& item) override
    {
        // QComboBox selects the first item added to an empty list, which
        // would put a port name in the text the user never chose.
        const int index = FWidget->currentIndex();
        const QString text = FWidget->currentText();
        FWidget->addItem(ToQString(item));
        if (index < 0) {
            FWidget->setCurrentIndex(-1);
            if (FWidget->isEditable())
                FWidget->setEditText(text);
        }
    }
    void Clear() override
    {
        FWidget->clear();
        if (FWidget->isEditable())
            FWidget->clearEditText();
    }
    int ItemCount() const override { return FWidget->count(); }
    std::string Item(int index) const override { return FWidget->itemText(index).toStdString(); }
    int ItemIndex() const override { return FWidget->currentIndex(); }
    void SetItemIndex(int index) override { FWidget->setCurrentIndex(index); }
    // Qt sizes the list's rows by the font.
    void SetItemHeight(int) override {}
    void SetDroppedDown(bool dropped) override
    {
        if (dropped)
            FWidget->showPopup();
        else
            FWidget->hidePopup();
    }
    bool DroppedDown() const override { return FWidget->view()->isVisible(); }
};

// ---- Edit

class TQtEditWindow final : public TQtWindow<TEditWindow, QLineEdit> {
public:
    using TQtWindow::TQtWindow;
    void SetText(const std::string& text) override { FWidget->setText(ToQString(text)); }
    std::string Text() const override { return FWidget->text().toStdString(); }
    void SetColor(TColor color) override { SetPaletteColor(FWidget, QPalette::Base, color); }
    void SetReadOnly(bool readOnly) override { FWidget->setReadOnly(readOnly); }
};

}  // namespace

// ---- The factories

std::unique_ptr<TFormWindow> CreateFormWindow(TControl& form)
{
    return std::make_unique<TQtFormWindow>(form);
}

std::unique_ptr<TControlWindow> CreateCustomWindow(TControl& control, TControlWindow* parent)
{
    return std::make_unique<TQtCustomWindow>(new TQtCustomWidget(control, ParentWidget(parent)));
}

std::unique_ptr<TLabelWindow> CreateLabelWindow(TControl&, TControlWindow* parent)
{
    return std::make_unique<TQtLabelWindow>(new TQtLabelWidget(ParentWidget(parent)));
}

std::unique_ptr<TControlWindow> CreateGroupBoxWindow(TControl&, TControlWindow* parent)
{
    return std::make_unique<TQtGroupBoxWindow>(new TQtGroupBoxWidget(ParentWidget(parent)));
}

std::unique_ptr<TControlWindow> CreateButtonWindow(TControl& button, TControlWindow* parent)
{
    return std::make_unique<TQtButtonWindow>(button, ParentWidget(parent));
}

std::unique_ptr<TCheckWindow> CreateCheckWindow(TControl& box, TControlWindow* parent)
{
    return std::make_unique<TQtCheckWindow>(box, ParentWidget(parent));
}

std::unique_ptr<TComboWindow> CreateComboWindow(TControl& box, TControlWindow* parent, TComboBoxStyle style)
{
    return std::make_unique<TQtComboWindow>(box, ParentWidget(parent), style);
}

std::unique_ptr<TEditWindow> CreateEditWindow(TControl&, TControlWindow* parent)
{
    return std::make_unique<TQtEditWindow>(new QLineEdit(ParentWidget(parent)));
}

// ---- What the Linux side and its tests use

QWidget* WidgetOf(const TControl& control)
{
    auto* window = dynamic_cast<TQtWidgetWindow*>(&control.Window());
    return window != nullptr ? window->Widget() : nullptr;
}

QFont ControlFont(const TPainterFont& font)
{
    QFont result = ToQFont(font);
    // Without a hint Qt may pick a bitmap face or an odd stand-in; a sans
    // face is what every window description here means.
    result.setStyleHint(QFont::SansSerif);
    return result;
}

void SetPaletteColor(QWidget* widget, QPalette::ColorRole role, TColor color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, ToQColor(color));
    widget->setPalette(palette);
}

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

GroupBoxGeometry GroupBoxLayout(QSize size, int textHeight, int captionWidth)
{
    GroupBoxGeometry geometry;
    // The shadow line and the highlight line under it straddle the middle
    // of the caption's height.
    const int top = std::max(textHeight / 2 - 1, 0);
    // The highlight's right and bottom lines take the box's last column and row.
    geometry.frame = QRect(QPoint(0, top), QPoint(size.width() - 2, size.height() - 2));
    if (captionWidth > 0)
        geometry.caption = QRect(GroupBoxGeometry::kCaptionIndent, 0, captionWidth, textHeight);
    return geometry;
}

// ---- The application

struct TApplication::TSystem {
    TSystem(int& argc, char** argv) : Application(argc, argv) {}
    QApplication Application;
};

TApplication::TApplication(int& argc, char** argv, const TApplicationInfo& info)
    : FSystem(std::make_unique<TSystem>(argc, argv))
{
    // One look on every desktop, close to the classic one the window was
    // laid out for.
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);
    QApplication::setApplicationName(ToQString(ApplicationTitle()));
    if (!info.IconResource.empty())
        QApplication::setWindowIcon(QIcon(ToQString(info.IconResource)));
    // Lets desktops match the window to its installed entry and icon.
    if (!info.DesktopFileName.empty())
        QGuiApplication::setDesktopFileName(ToQString(info.DesktopFileName));
}

TApplication::~TApplication() = default;

int TApplication::Run(TForm& mainForm)
{
    mainForm.Show();
    return QApplication::exec();
}
