// The standard controls' and the custom controls' windows on Win32, through
// the public classes, driving the real windows on the test display.
// The runtime's headers come before the system's, whose macros share
// their names.
#include "runtime/Dialogs.h"
#include "runtime/NotifyWindow.h"
#include "runtime/StdCtrls.h"

#include "Win32TestWindows.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A shown form to put controls on, one for all the tests: under Wine
// without a window manager, hiding a shown window waits two seconds for
// the manager's answer.
class Win32Controls : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        FForm = new TForm(400, 300);
        FForm->Show();
    }
    static void TearDownTestSuite()
    {
        delete FForm;
        FForm = nullptr;
    }
    void TearDown() override
    {
        SetDialogRecorder({});
        SetExceptionHandler({});
        FForm->SetColor(clBtnFace);
    }
    static HWND Form() { return WindowHandleOf(*FForm); }

    static inline TForm* FForm = nullptr;
};

// Clicks the middle of `window` with the system's mouse input.
void ClickWithTheMouse(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    const POINT at = OnScreen(window, client.right / 2, client.bottom / 2);
    SetCursorPos(at.x, at.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

TEST_F(Win32Controls, AButtonRunsOnClickForBmClickAndARealClick)
{
    TButton button(FForm);
    button.SetBounds(20, 20, 75, 25);
    button.SetCaption("Start");
    int clicks = 0;
    button.SetOnClick([&](TObject* sender) {
        EXPECT_EQ(sender, &button);
        ++clicks;
    });
    HWND window = WindowHandleOf(button);
    char caption[16] = {};
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "Start");

    SendMessageA(window, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    Settle();
    ClickWithTheMouse(window);
    EXPECT_TRUE(WaitUntil([&] { return clicks == 2; })) << clicks;

    button.SetEnabled(false);
    ClickWithTheMouse(window);
    RunEventsFor(200);
    EXPECT_EQ(clicks, 2) << "a disabled button clicked";
}

TEST_F(Win32Controls, ACheckBoxRunsOnClickOnceForEveryChangeOfState)
{
    TCheckBox box(FForm);
    box.SetBounds(20, 20, 120, 20);
    int clicks = 0;
    box.SetOnClick([&](TObject*) { ++clicks; });
    box.SetChecked(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(box.Checked());
    box.SetChecked(true);
    EXPECT_EQ(clicks, 1) << "no change, no click";

    SendMessageA(WindowHandleOf(box), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(box.Checked());
    Settle();
    ClickWithTheMouse(WindowHandleOf(box));
    EXPECT_TRUE(WaitUntil([&] { return clicks == 3; })) << clicks;
    EXPECT_TRUE(box.Checked());
}

TEST_F(Win32Controls, AnEditableComboKeepsItsTextAndFillsItsListOnDropDown)
{
    TComboBox box(FForm, csDropDown);
    box.SetBounds(20, 20, 81, 21);
    box.SetText("COM3");
    box.AddItem("COM1");
    box.AddItem("COM2");
    EXPECT_EQ(box.Text(), "COM3");
    EXPECT_EQ(box.ItemIndex(), -1);

    HWND window = WindowHandleOf(box);
    RECT field;
    GetWindowRect(window, &field);
    EXPECT_EQ(field.bottom - field.top, 21) << "the closed box is as high as placed";

    bool openBefore = true;
    box.SetOnDropDown([&](TObject*) {
        openBefore = box.DroppedDown();
        box.Clear();
        for (const char* port : {"COM4", "COM5", "COM10"})
            box.AddItem(port);
    });
    SendMessageA(window, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_FALSE(openBefore) << "OnDropDown ran after the list opened";
    EXPECT_TRUE(box.DroppedDown());
    EXPECT_EQ(box.ItemCount(), 3);
    EXPECT_EQ(box.Item(2), "COM10");
    EXPECT_EQ(box.Text(), "") << "Clear empties the text";
    box.SetDroppedDown(false);
    EXPECT_FALSE(box.DroppedDown());

    box.SetItemIndex(1);
    EXPECT_EQ(box.Text(), "COM5");
    EXPECT_THROW(box.Item(3), EListError);
}

TEST_F(Win32Controls, AListComboChoosesByTextOrNothing)
{
    TComboBox box(FForm, csDropDownList);
    box.SetBounds(20, 20, 100, 21);
    for (const char* speed : {"4800", "9600", "19200"})
        box.AddItem(speed);
    EXPECT_EQ(box.ItemIndex(), -1);
    box.SetText("9600");
    EXPECT_EQ(box.ItemIndex(), 1);
    EXPECT_EQ(box.Text(), "9600");
    box.SetText("1200");
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(box.Text(), "");
}

TEST_F(Win32Controls, TheLabelledEditsLabelSitsLeftOfItAndFollowsIt)
{
    TLabeledEdit edit(FForm);
    edit.EditLabel()->SetCaption("Interval");
    edit.SetBounds(150, 40, 60, 21);
    TLabel& label = *edit.EditLabel();
    HWND labelWindow = WindowHandleOf(label);
    RECT placed;
    GetWindowRect(labelWindow, &placed);
    MapWindowPoints(HWND_DESKTOP, Form(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.right, 150 - TLabeledEdit::kLabelSpacing);
    EXPECT_NEAR((placed.top + placed.bottom) / 2.0, 40 + 21 / 2.0, 0.5);

    edit.SetBounds(160, 80, 60, 21);
    GetWindowRect(labelWindow, &placed);
    MapWindowPoints(HWND_DESKTOP, Form(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.right, 157);
    edit.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(labelWindow));
    edit.SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(labelWindow));
    EXPECT_FALSE(IsWindowVisible(WindowHandleOf(edit)));

    edit.SetText("60");
    EXPECT_EQ(edit.Text(), "60");
    edit.SetReadOnly(true);
    EXPECT_NE(GetWindowLongPtrA(WindowHandleOf(edit), GWL_STYLE) & ES_READONLY, 0);
}

TEST_F(Win32Controls, AnAutoSizedLabelTakesItsTextsSizeKeepingItsAnchor)
{
    TLabel label(FForm);
    label.SetFont(MakeFont("Tahoma", 20, true));
    label.SetCaption("N/A");
    const int shortWidth = label.Width();
    EXPECT_GE(label.Height(), 20);
    label.SetCaption("23:59:59 N/A");
    EXPECT_GT(label.Width(), 3 * shortWidth);

    TLabel right(FForm);
    right.SetAlignment(taRightJustify);
    right.SetBounds(100, 100, 200, 30);
    right.SetCaption("18.52");
    EXPECT_EQ(right.BoundsRect().Right, 300);
    EXPECT_LT(right.Width(), 200);
    EXPECT_NE(GetWindowLongPtrA(WindowHandleOf(right), GWL_STYLE) & SS_RIGHT, 0);

    label.SetAutoSize(false);
    label.SetBounds(0, 0, 40, 25);
    label.SetCaption("a much longer text than before");
    EXPECT_EQ(label.Width(), 40);
    EXPECT_EQ(label.Height(), 25);
}

TEST_F(Win32Controls, ALabelShowsItsColoursAndIsGreyedWhenDisabled)
{
    FForm->SetColor(clYellow);
    TLabel label(FForm);
    label.SetFont(MakeFont("Tahoma", 24, true));
    label.SetFontColor(clRed);
    label.SetBounds(10, 10, 0, 0);
    label.SetCaption("IIII");
    HWND window = WindowHandleOf(label);
    EXPECT_TRUE(WaitUntil([&] { return CountScreenPixels(window, clRed) > 20; }));
    EXPECT_EQ(ScreenPixel(window, 0, label.Height() - 1), clYellow) << "the parent's colour behind the text";

    label.SetEnabled(false);
    const TColor grey = GetSysColor(COLOR_GRAYTEXT);
    EXPECT_TRUE(WaitUntil([&] { return CountScreenPixels(window, grey) > 20; }));
    EXPECT_EQ(CountScreenPixels(window, clRed), 0);
}

TEST_F(Win32Controls, EqualFontsShareOneSystemFont)
{
    TLabel a(FForm);
    TLabel b(FForm);
    TButton c(FForm);
    a.SetFont(MakeFont("Verdana", 13));
    b.SetFont(MakeFont("Verdana", 13));
    c.SetFont(MakeFont("Verdana", 13, true));
    const auto fontOf = [](const TControl& control) { return SendMessageA(WindowHandleOf(control), WM_GETFONT, 0, 0); };
    EXPECT_NE(fontOf(a), 0);
    EXPECT_EQ(fontOf(a), fontOf(b));
    EXPECT_NE(fontOf(a), fontOf(c));
    LOGFONTA description{};
    GetObjectA(reinterpret_cast<HFONT>(fontOf(c)), sizeof description, &description);
    EXPECT_EQ(description.lfHeight, -13) << "the character height";
    EXPECT_EQ(description.lfWeight, FW_BOLD);
}

// A control that paints itself in one colour and notes its mouse input.
class TProbe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

    TColor PaintColor = clLime;
    std::vector<std::string> Input;
    bool Fail = false;
    int Paints = 0;

protected:
    void Paint(TPainter& painter) override
    {
        if (Fail)
            throw Exception("Paint failed");
        ++Paints;
        painter.FillRect(ClientRect(), PaintColor);
    }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override
    {
        if (Fail)
            throw Exception("Mouse failed");
        Input.push_back(Format("down %d %u %d,%d", button, shift, x, y));
    }
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override
    {
        Input.push_back(Format("up %d %u %d,%d", button, shift, x, y));
    }
    void MouseMove(TShiftState shift, int x, int y) override { Input.push_back(Format("move %u %d,%d", shift, x, y)); }
    void MouseWheel(TShiftState shift, int delta, int x, int y) override
    {
        Input.push_back(Format("wheel %u %d %d,%d", shift, delta, x, y));
    }
    void MouseLeave() override { Input.push_back("leave"); }
};

TEST_F(Win32Controls, ACustomControlsPaintReachesTheScreen)
{
    TProbe probe(FForm);
    probe.SetBounds(30, 30, 50, 40);
    HWND window = WindowHandleOf(probe);
    EXPECT_TRUE(WaitUntil([&] { return CountScreenPixels(window, clLime) == 50 * 40; }));
    probe.PaintColor = clBlue;
    probe.Invalidate();
    probe.Update();
    EXPECT_EQ(ScreenPixel(window, 0, 0), clBlue);
    EXPECT_EQ(ScreenPixel(window, 49, 39), clBlue);

    // The requests before a paint are answered by one paint, and a request
    // after it gets a paint of its own: the window must not go on thinking
    // that one is on its way.
    const int paints = probe.Paints;
    for (int i = 0; i < 1000; ++i)
        probe.Invalidate();
    probe.Update();
    EXPECT_EQ(probe.Paints, paints + 1);
    probe.PaintColor = clRed;
    probe.Invalidate();
    probe.Update();
    EXPECT_EQ(probe.Paints, paints + 2);
    EXPECT_EQ(ScreenPixel(window, 49, 39), clRed);
}

TEST_F(Win32Controls, ACustomControlGetsMouseInputInItsOwnCoordinates)
{
    TProbe probe(FForm);
    probe.SetBounds(30, 30, 100, 80);
    HWND window = WindowHandleOf(probe);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 20));
    EXPECT_EQ(GetCapture(), window) << "a held button keeps the mouse";
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, 90));
    SendMessageA(window, WM_LBUTTONUP, MK_SHIFT, MAKELPARAM(-5, 90));
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, MAKELPARAM(1, 2));
    SendMessageA(window, WM_RBUTTONUP, MK_CONTROL, MAKELPARAM(1, 2));
    // The wheel comes to the focused window with a point on the screen;
    // the form hands it to the control under that point.
    const POINT at = OnScreen(window, 40, 50);
    SendMessageA(Form(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(at.x, at.y));
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    const std::vector<std::string> expected{
        Format("down %d %u 10,20", mbLeft, ssLeft | ssShift),
        Format("move %u -5,90", ssLeft | ssShift),
        Format("up %d %u -5,90", mbLeft, ssShift),
        Format("down %d %u 1,2", mbRight, ssRight | ssCtrl),
        Format("up %d %u 1,2", mbRight, ssCtrl),
        "wheel 0 -120 40,50",
        "leave",
    };
    EXPECT_EQ(probe.Input, expected);

    probe.SetEnabled(false);
    probe.Input.clear();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
    EXPECT_TRUE(probe.Input.empty()) << "a disabled control took input";
}

TEST_F(Win32Controls, ACustomControlShowsItsCursor)
{
    TProbe probe(FForm);
    probe.SetBounds(0, 0, 50, 50);
    HWND window = WindowHandleOf(probe);
    const auto cursorShown = [&] {
        SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    probe.SetCursor(crHandPoint);
    EXPECT_EQ(cursorShown(), LoadCursorA(nullptr, IDC_HAND));
    probe.SetCursor(crCross);
    EXPECT_EQ(cursorShown(), LoadCursorA(nullptr, IDC_CROSS));
    probe.SetCursor(crDefault);
    EXPECT_EQ(cursorShown(), LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(Win32Controls, ExceptionsFromHandlersReachTheErrorBox)
{
    std::vector<std::string> shown;
    SetDialogRecorder([&](const DialogRecord& record) { shown.push_back(record.Caption + ": " + record.Text); });
    InstallApplicationErrorBox();
    TProbe probe(FForm);
    probe.SetBounds(0, 0, 20, 20);
    probe.Fail = true;
    SendMessageA(WindowHandleOf(probe), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    probe.Invalidate();
    probe.Update();
    ASSERT_TRUE(WaitUntil([&] { return shown.size() == 2; })) << shown.size();
    EXPECT_EQ(shown[0], ApplicationTitle() + ": Mouse failed.");
    EXPECT_EQ(shown[1], ApplicationTitle() + ": Paint failed.");
}

TEST_F(Win32Controls, AFailingClickHandlerOpensTheRealErrorBox)
{
    InstallApplicationErrorBox();
    TButton button(FForm);
    button.SetBounds(10, 10, 75, 25);
    button.SetOnClick([](TObject*) { throw Exception("Port busy"); });
    std::string text;
    TNotifyWindow answerer([&](TMessage& message) {
        if (message.Msg != WM_TIMER)
            return;
        HWND box = FindWindowA("#32770", ApplicationTitle().c_str());
        if (box == nullptr || !IsWindowVisible(box))
            return;
        char shown[128] = {};
        GetDlgItemTextA(box, 0xFFFF, shown, sizeof shown);
        text = shown;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    });
    answerer.SetTimer(1, 10);
    SendMessageA(WindowHandleOf(button), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !text.empty(); }));
    EXPECT_EQ(text, "Port busy.");
}

}  // namespace
