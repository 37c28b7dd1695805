#include "runtime/StdCtrls.h"

#include "runtime/Dialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionComplex>

#include <algorithm>

QFont MakeFont(const QString& face, int pixelHeight, bool bold)
{
    QFont font(face);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    // Without a hint Qt may pick a bitmap face or an odd stand-in; a sans
    // face is what every window description here means.
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void SetPaletteColor(QWidget* widget, QPalette::ColorRole role, TColor color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, QColor::fromRgb(ToQRgb(color)));
    widget->setPalette(palette);
}

TLabel::TLabel(QWidget* parent) : QWidget(parent), TComponent(OwningForm(parent)) {}

void TLabel::SetCaption(const QString& value)
{
    if (!StoreIfChanged(FCaption, value))
        return;
    AdjustSize();
    update();
}

void TLabel::SetFontColor(TColor value)
{
    if (StoreIfChanged(FFontColor, value))
        update();
}

void TLabel::SetAlignment(TAlignment value)
{
    if (StoreIfChanged(FAlignment, value))
        update();
}

void TLabel::SetAutoSize(bool value)
{
    if (StoreIfChanged(FAutoSize, value))
        AdjustSize();
}

int TLabel::TextFlags() const
{
    switch (FAlignment) {
    case taRightJustify:
        return Qt::AlignRight | Qt::AlignTop;
    case taCenter:
        return Qt::AlignHCenter | Qt::AlignTop;
    case taLeftJustify:
        break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

void TLabel::AdjustSize()
{
    if (!FAutoSize)
        return;
    const QRect extent = QFontMetrics(font()).boundingRect(QRect(0, 0, 0, 0), TextFlags(), FCaption);
    // Right- and centre-aligned labels keep their anchor edge or centre.
    QRect area = geometry();
    const int width = std::max(extent.width(), 1);
    if (FAlignment == taRightJustify)
        area.setLeft(area.right() + 1 - width);
    else if (FAlignment == taCenter)
        area.setLeft(area.left() + (area.width() - width) / 2);
    area.setWidth(width);
    area.setHeight(std::max(extent.height(), 1));
    setGeometry(area);
}

void TLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        AdjustSize();
    QWidget::changeEvent(event);
}

void TLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    const QRect area = rect();
    if (isEnabled()) {
        painter.setPen(QColor::fromRgb(ToQRgb(FFontColor)));
        painter.drawText(area, TextFlags(), FCaption);
        return;
    }
    painter.setPen(QColor::fromRgb(ToQRgb(clBtnHighlight)));
    painter.drawText(area.translated(1, 1), TextFlags(), FCaption);
    painter.setPen(QColor::fromRgb(ToQRgb(clBtnShadow)));
    painter.drawText(area, TextFlags(), FCaption);
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

namespace {

// A one-pixel rectangle outline, by fills: a pen of width one would be one
// device pixel thin on a dense screen.
void FrameRect(QPainter& painter, const QRect& area, const QColor& color)
{
    painter.fillRect(QRect(area.left(), area.top(), area.width(), 1), color);
    painter.fillRect(QRect(area.left(), area.bottom(), area.width(), 1), color);
    painter.fillRect(QRect(area.left(), area.top(), 1, area.height()), color);
    painter.fillRect(QRect(area.right(), area.top(), 1, area.height()), color);
}

}  // namespace

TGroupBox::TGroupBox(QWidget* parent) : QGroupBox(parent), TComponent(OwningForm(parent))
{
    // A group box paints its background, so it covers what lies under it.
    setAutoFillBackground(true);
}

void TGroupBox::paintEvent(QPaintEvent*)
{
    // The style's group box puts the caption above the frame and would
    // leave no room for children placed for the classic one.
    QPainter painter(this);
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const GroupBoxGeometry geometry = GroupBoxLayout(size(), metrics.height(), metrics.horizontalAdvance(title()));
    const QColor shadow = QColor::fromRgb(ToQRgb(clBtnShadow));
    const QColor highlight = QColor::fromRgb(ToQRgb(clBtnHighlight));
    FrameRect(painter, geometry.frame.translated(1, 1), highlight);
    FrameRect(painter, geometry.frame, shadow);
    if (geometry.caption.isEmpty())
        return;

    painter.fillRect(geometry.caption, palette().color(backgroundRole()));
    constexpr int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    if (isEnabled()) {
        painter.setPen(QColor::fromRgb(ToQRgb(clWindowText)));
        painter.drawText(geometry.caption, flags, title());
        return;
    }
    painter.setPen(highlight);
    painter.drawText(geometry.caption.translated(1, 1), flags, title());
    painter.setPen(shadow);
    painter.drawText(geometry.caption, flags, title());
}

TButton::TButton(QWidget* parent) : QPushButton(parent), TComponent(OwningForm(parent))
{
    connect(this, &QPushButton::clicked, this, GuardedSlot([this] {
                if (FOnClick)
                    FOnClick(this);
            }));
}

namespace {

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

}  // namespace

TComboBox::TComboBox(QWidget* parent, TComboBoxStyle style) : QComboBox(parent), TComponent(OwningForm(parent)), FStyle(style)
{
    setStyle(ClassicComboStyle());
    setEditable(style == csDropDown);
    // Typed text is a name to use, not an item to add to the list.
    setInsertPolicy(QComboBox::NoInsert);
    // A chosen name longer than the box shows its beginning, not its end.
    if (lineEdit() != nullptr)
        connect(this, &QComboBox::textActivated, lineEdit(), [edit = lineEdit()] { edit->setCursorPosition(0); });
}

void TComboBox::SetText(const QString& value)
{
    if (isEditable())
        setEditText(value);
    else
        setCurrentIndex(findText(value));
}

void TComboBox::AddItem(const QString& item)
{
    // QComboBox selects the first item added to an empty list, which would
    // put a port name in the text the user never chose.
    const int index = currentIndex();
    const QString text = currentText();
    addItem(item);
    if (index < 0) {
        setCurrentIndex(-1);
        if (isEditable())
            setEditText(text);
    }
}

void TComboBox::Clear()
{
    clear();
    if (isEditable())
        clearEditText();
}

void TComboBox::SetColor(TColor value)
{
    if (!StoreIfChanged(FColor, value))
        return;
    SetPaletteColor(this, QPalette::Base, value);
    if (lineEdit() != nullptr)
        SetPaletteColor(lineEdit(), QPalette::Base, value);
}

void TComboBox::SetItemHeight(int value)
{
    FItemHeight = value;
}

void TComboBox::showPopup()
{
    Guarded([this] {
        if (FOnDropDown)
            FOnDropDown(this);
    });
    // The list may be wider than the box: names are never cut off.
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + 2 * view()->frameWidth());
    QComboBox::showPopup();
}

TCheckBox::TCheckBox(QWidget* parent) : QCheckBox(parent), TComponent(OwningForm(parent))
{
    connect(this, &QCheckBox::toggled, this, GuardedSlot([this] {
                if (FOnClick)
                    FOnClick(this);
            }));
}

void TCheckBox::SetColor(TColor value)
{
    if (!StoreIfChanged(FColor, value))
        return;
    setAutoFillBackground(true);
    // The style may paint a check box on the button colour; fill with
    // whichever role it uses.
    SetPaletteColor(this, backgroundRole(), value);
}

TLabeledEdit::TLabeledEdit(QWidget* parent) : QLineEdit(parent), TComponent(OwningForm(parent)), FEditLabel(new TLabel(parent))
{
    // The edit owns its label; the window only places it.
    InsertComponent(FEditLabel);
    FEditLabel->setObjectName("SubLabel");
    FEditLabel->setFocusProxy(this);
}

void TLabeledEdit::SetBounds(int left, int top, int width, int height)
{
    setGeometry(left, top, width, height);
    PlaceLabel();
}

void TLabeledEdit::PlaceLabel()
{
    const QRect edit = geometry();
    FEditLabel->move(edit.left() - FEditLabel->width() - kLabelSpacing,
                     edit.top() + (edit.height() - FEditLabel->height()) / 2);
}

void TLabeledEdit::moveEvent(QMoveEvent* event)
{
    QLineEdit::moveEvent(event);
    PlaceLabel();
}

void TLabeledEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    PlaceLabel();
}

void TLabeledEdit::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        FEditLabel->setEnabled(isEnabled());
    QLineEdit::changeEvent(event);
}
