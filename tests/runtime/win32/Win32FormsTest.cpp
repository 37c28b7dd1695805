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
