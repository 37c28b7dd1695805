// The form's window and the application's loop on Win32, through TForm and
// TApplication, on the test display.
// The runtime's headers come before the system's, whose macros share
// their names.
#include "runtime/NotifyWindow.h"
#include "runtime/StdCtrls.h"

#include "Win32TestWindows.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

TEST(Win32Geometry, CentringKeepsTheCaptionOnTheWorkArea)
{
    struct Case {
        TRect work;
        int width, height;
        TPoint origin;
    };
    const Case cases[] = {
        {Rect(0, 0, 1024, 738), 600, 700, {212, 19}},
        {Rect(100, 30, 1124, 798), 601, 301, {311, 263}},
        {Rect(0, 0, 800, 600), 900, 700, {0, 0}},  // larger than the area
        {Rect(-1280, 0, 0, 1024), 200, 100, {-740, 462}},
    };
    for (const Case& c : cases) {
        const TPoint origin = CentredOrigin(c.work, c.width, c.height);
        EXPECT_EQ(origin.X, c.origin.X);
        EXPECT_EQ(origin.Y, c.origin.Y);
    }
}

TEST(Win32Geometry, MouseKeysGiveTheShiftState)
{
    EXPECT_EQ(ShiftFromMouseKeys(0, false), 0u);
    EXPECT_EQ(ShiftFromMouseKeys(MK_LBUTTON | MK_SHIFT, false), ssLeft | ssShift);
    EXPECT_EQ(ShiftFromMouseKeys(MK_RBUTTON | MK_CONTROL, true), ssRight | ssCtrl | ssAlt);
    EXPECT_EQ(ShiftFromMouseKeys(MK_MBUTTON | MK_XBUTTON1, false), ssMiddle);
    EXPECT_EQ(ToDevice(7, 1.5), 11);
    EXPECT_EQ(ToLogical(11, 1.5), 7);
}

TEST(Win32Form, HasExactlyItsClientSizeAndAFixedSingleBorder)
{
    TForm form(586, 659);
    HWND window = WindowHandleOf(form);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 586);
    EXPECT_EQ(client.bottom, 659);
    const auto style = GetWindowLongPtrA(window, GWL_STYLE);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_FALSE(IsWindowVisible(window)) << "hidden until shown";

    form.SetCaption("Umbrascope");
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Umbrascope");
}

TEST(Win32Form, ShowCentresOnTheWorkAreaAndActivatesOnce)
{
    TForm form(300, 200);
    int activations = 0;
    form.SetOnActivate([&](TObject*) { ++activations; });
    form.Show();
    HWND window = WindowHandleOf(form);
    EXPECT_TRUE(form.Showing());
    EXPECT_EQ(activations, 1);

    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT placed;
    GetWindowRect(window, &placed);
    EXPECT_NEAR((placed.left + placed.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_NEAR((placed.top + placed.bottom) / 2, (area.top + area.bottom) / 2, 1);

    form.Hide();
    EXPECT_FALSE(form.Showing());
    form.Show();
    Settle();
    EXPECT_EQ(activations, 1) << "shown again, activated again";
}

TEST(Win32Form, TheCloseButtonHidesWithoutDestroying)
{
    TForm form(200, 100);
    TButton button(&form);
    form.Show();
    HWND window = WindowHandleOf(form);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindow(WindowHandleOf(button)));
    EXPECT_FALSE(IsWindowVisible(window));
    // Not the application's main window: nothing asked the loop to end.
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    // Closed, it can be shown again.
    EXPECT_FALSE(form.Visible());
    form.Show();
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST(Win32Form, ItsColourFillsTheBackground)
{
    TForm form(120, 80);
    form.SetColor(clYellow);
    form.Show();
    HWND window = WindowHandleOf(form);
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(window, 60, 40) == clYellow; }));
}

TEST(Win32Application, RunsTheMainFormUntilItClosesWithTimersGoingOn)
{
    int argc = 1;
    char name[] = "runtime_tests";
    char* argv[] = {name, nullptr};
    TApplication application(argc, argv, TApplicationInfo{"", ""});
    TForm form(200, 100);
    int ticks = 0;
    bool shownInLoop = false;
    TNotifyWindow timer([&](TMessage& message) {
        if (message.Msg != WM_TIMER)
            return;
        shownInLoop = form.Showing();
        if (++ticks == 3)
            form.Close();
    });
    form.SetOnActivate([&](TObject*) { timer.SetTimer(1, 10); });
    EXPECT_EQ(application.Run(form), 0);
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(shownInLoop);
    EXPECT_FALSE(form.Showing());
}

// A control painting a frame one pixel wide around a lime field: its
// bottom right corner shows only when the picture covers the whole window.
class TFramed : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint(TPainter& painter) override
    {
        painter.FillRect(ClientRect(), clRed);
        painter.FillRect(Rect(1, 1, Width() - 1, Height() - 1), clLime);
    }
};

// Where `child` is in its parent's client area.
RECT PlaceInParent(HWND child)
{
    RECT place;
    GetWindowRect(child, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

LONG FontHeight(HWND window)
{
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

TEST(Win32Form, MovedToAScreenOfAnotherScaleLaysItselfOutAgainAtThatScale)
{
    TForm form(300, 200);
    auto* box = new TGroupBox(&form);
    box->SetBounds(8, 8, 150, 120);
    auto* button = new TButton(box);
    button->SetBounds(10, 20, 75, 25);
    auto* combo = new TComboBox(&form, csDropDown);
    combo->SetBounds(170, 8, 81, 21);
    combo->SetItemHeight(15);
    auto* label = new TLabel(&form);
    label->SetBounds(8, 136, 10, 10);
    label->SetCaption("Interval (s) of readings, 1 to 600 s");
    auto* framed = new TFramed(&form);
    framed->SetBounds(170, 70, 60, 50);
    form.Show();
    HWND window = WindowHandleOf(form);
    const int firstLabelWidth = label->Width();

    using TAdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    const auto adjustForDpi = SystemFunction<TAdjustForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
    ASSERT_NE(adjustForDpi, nullptr);
    // Moves the window to a screen of `dpi`, `dx` and `dy` along, as the
    // system would: the suggested frame is the exact one for that scale.
    const auto moveTo = [&](UINT dpi, int dx, int dy) {
        const double ratio = dpi / 96.0;
        RECT suggested{0, 0, ToDevice(300, ratio), ToDevice(200, ratio)};
        adjustForDpi(&suggested, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), dpi);
        RECT now;
        GetWindowRect(window, &now);
        OffsetRect(&suggested, now.left + dx - suggested.left, now.top + dy - suggested.top);
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        RECT placed;
        GetWindowRect(window, &placed);
        EXPECT_EQ(placed.left, suggested.left);
        EXPECT_EQ(placed.top, suggested.top);
    };
    const auto expectAt = [&](double ratio) {
        SCOPED_TRACE(testing::Message() << "at " << ratio * 100 << " %");
        const auto device = [ratio](int logical) { return ToDevice(logical, ratio); };
        RECT client;
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, device(300));
        EXPECT_EQ(client.bottom, device(200));
        for (const TControl* control : std::vector<const TControl*>{box, button, combo, label, framed}) {
            SCOPED_TRACE(typeid(*control).name());
            const RECT place = PlaceInParent(WindowHandleOf(*control));
            EXPECT_EQ(place.left, device(control->Left()));
            EXPECT_EQ(place.top, device(control->Top()));
            EXPECT_EQ(place.right, device(control->BoundsRect().Right));
            if (control != combo) {  // its window holds the list's room too
                EXPECT_EQ(place.bottom, device(control->BoundsRect().Bottom));
            }
            if (control != framed) {  // it paints its own text
                EXPECT_EQ(FontHeight(WindowHandleOf(*control)), -device(11));
            }
        }
        HWND comboWindow = WindowHandleOf(*combo);
        RECT field;
        GetWindowRect(comboWindow, &field);
        EXPECT_EQ(field.bottom - field.top, device(21)) << "the closed box";

        // The label is as wide as its text in the font at this scale.
        HWND labelWindow = WindowHandleOf(*label);
        HDC dc = GetDC(labelWindow);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(labelWindow, WM_GETFONT, 0, 0)));
        RECT text{};
        DrawTextW(dc, L"Interval (s) of readings, 1 to 600 s", -1, &text, DT_CALCRECT | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(labelWindow, dc);
        const RECT labelPlace = PlaceInParent(labelWindow);
        EXPECT_GE(labelPlace.right - labelPlace.left, text.right);
        EXPECT_LT(labelPlace.right - labelPlace.left, text.right + device(1) + 1);

        EXPECT_EQ(framed->DevicePixelRatio(), ratio) << "the chart and the gauge draw at this";
        HWND framedWindow = WindowHandleOf(*framed);
        const int right = device(60) - 1;
        const int bottom = device(50) - 1;
        EXPECT_TRUE(WaitUntil([&] {
            return ScreenPixel(framedWindow, right, bottom) == clRed &&
                   ScreenPixel(framedWindow, right - device(1), bottom - device(1)) == clLime;
        })) << "the frame's bottom right corner";
    };

    ASSERT_EQ(WindowPixelRatio(window), 1.0) << "the test display's scale";
    expectAt(1);
    moveTo(192, 16, 12);
    expectAt(2);
    moveTo(96, -16, -12);
    expectAt(1);
    EXPECT_EQ(label->Width(), firstLabelWidth);
}

// A label that notes when it goes.
class TNotingLabel : public TLabel {
public:
    TNotingLabel(TWinControl* parent, std::string name, std::vector<std::string>& gone)
        : TLabel(parent), FNoted(std::move(name)), FGone(gone)
    {
    }
    ~TNotingLabel() override { FGone.push_back(FNoted); }

private:
    std::string FNoted;
    std::vector<std::string>& FGone;
};

TEST(Win32Form, FreesWhatItOwnsNewestFirstAndParentsFreeTheirChildren)
{
    std::vector<std::string> gone;
    auto form = std::make_unique<TForm>(300, 200);
    auto* box = new TGroupBox(form.get());
    new TNotingLabel(form.get(), "first", gone);
    new TNotingLabel(box, "in the box", gone);
    HWND inBox = WindowHandleOf(*box->Controls(0));
    new TNotingLabel(form.get(), "last", gone);

    delete box;
    EXPECT_EQ(gone, std::vector<std::string>{"in the box"});
    EXPECT_FALSE(IsWindow(inBox));
    EXPECT_EQ(form->ControlCount(), 2);

    HWND window = WindowHandleOf(*form);
    form.reset();
    EXPECT_EQ(gone, (std::vector<std::string>{"in the box", "last", "first"}));
    EXPECT_FALSE(IsWindow(window));
}

TEST(Win32Form, TabOrderFollowsSetTabOrderIntoGroupBoxes)
{
    TForm form(300, 200);
    TButton third(&form);
    auto* box = new TGroupBox(&form);
    TCheckBox inBox(box);
    TButton first(&form);
    for (TWinControl* control : std::vector<TWinControl*>{&third, box, &inBox, &first})
        control->SetBounds(10, 10, 80, 24);
    SetTabOrder({&first, box, &third});
    form.Show();
    HWND window = WindowHandleOf(form);
    EXPECT_EQ(GetNextDlgTabItem(window, WindowHandleOf(first), FALSE), WindowHandleOf(inBox));
    EXPECT_EQ(GetNextDlgTabItem(window, WindowHandleOf(inBox), FALSE), WindowHandleOf(third));
    EXPECT_EQ(GetNextDlgTabItem(window, WindowHandleOf(third), FALSE), WindowHandleOf(first));
}

}  // namespace
