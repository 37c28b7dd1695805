// The main window on Win32 as a Windows user meets it: folders named in any
// language, the keyboard after a box, a chart drag whose mouse is taken away,
// the window moved to a screen of another scale.
// The chart declares a MulDiv of its own beside the system's, which this
// file also needs; the chart's is named apart here, and unused. The
// program's headers come before <windows.h>, whose macros share names with
// their constants.
#define MulDiv ChartMulDiv
#include "../WindowFixture.h"
#undef MulDiv

#include "../ChartPictureReadings.h"

#include "runtime/Folders.h"
#include "runtime/NotifyWindow.h"
#include "runtime/win32/Win32Controls.h"

#include "EventLoop.h"
#include "SystemSide.h"

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

// A name the ANSI code page of a western system holds, and two it cannot.
const char kAnyName[] = "J\u00fcrgen \u0141ukasz \u5c71\u7530";
const char kChildVariable[] = "UMBRASCOPE_TEST_CHILD";

std::filesystem::path FromUtf8(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string ReadAll(const std::string& utf8Path)
{
    std::ifstream in(FromUtf8(utf8Path), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::wstring ScreenText(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

std::wstring Wide(const std::string& utf8)
{
    return FromUtf8(utf8).wstring();
}

class WindowsLog : public MeterOnFakePort {
protected:
    void LogTwoReadings(const std::string& path)
    {
        form.LabeledEdit1->SetText(path);
        Greet();
        form.CheckBox2->SetChecked(false);
        form.CheckBox3->SetChecked(false);
        form.CheckBox4->SetChecked(true);
        Receive("19.53#");
        Receive("19.54#");
    }
};

TEST_F(WindowsLog, AFileNamedInAnyLanguageIsShownAndLoggedTo)
{
    const std::string folder = ProgramFolder() + kAnyName;
    std::filesystem::create_directories(FromUtf8(folder));
    const std::string path = folder + "\\Messung M\u00e4rz.txt";
    std::filesystem::remove(FromUtf8(path));

    LogTwoReadings(path);
    EXPECT_EQ(form.LabeledEdit1->Text(), path);
    EXPECT_EQ(ScreenText(WindowHandleOf(*form.LabeledEdit1)), Wide(path)) << "what the field shows";
    EXPECT_EQ(ReadAll(path), "19.54\r\n");
    EXPECT_TRUE(boxes.empty()) << BoxTexts().front();
    std::filesystem::remove_all(FromUtf8(folder));
}

// The copy of this program started from a folder named in any language by
// the test below: the log's default place is that folder, and SAVE logs
// there. Skipped in an ordinary run.
TEST_F(WindowsLog, ChildInAFolderOfAnyName)
{
    if (std::getenv(kChildVariable) == nullptr)
        GTEST_SKIP() << "run by ThePathOfAProgramFolderOfAnyNameIsShownAndLoggedTo";
    form.FormActivate(&form);
    const std::string expected = ProgramFolder() + "umblog.txt";
    ASSERT_NE(ProgramFolder().find(kAnyName), std::string::npos) << ProgramFolder();
    EXPECT_EQ(form.LabeledEdit1->Text(), expected);
    EXPECT_EQ(ScreenText(WindowHandleOf(*form.LabeledEdit1)), Wide(expected));
    LogTwoReadings(expected);
    EXPECT_TRUE(boxes.empty());
}

TEST(WindowsProgramFolder, ThePathOfAProgramFolderOfAnyNameIsShownAndLoggedTo)
{
    const std::filesystem::path folder = FromUtf8(ProgramFolder() + kAnyName);
    std::filesystem::create_directories(folder);
    const std::filesystem::path copy = folder / "app_window_tests.exe";
    std::filesystem::copy_file(FromUtf8(ProgramFolder() + "app_window_tests.exe"), copy,
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(RunProgramWith(copy.wstring(), kChildVariable, "1",
                             L"--gtest_filter=WindowsLog.ChildInAFolderOfAnyName"),
              0);
    const std::u8string log = (folder / "umblog.txt").u8string();
    EXPECT_EQ(ReadAll(std::string(log.begin(), log.end())), "19.54\r\n");
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

// The window shown, as the user has it.
class ShownWindow : public MeterOnFakePort {
protected:
    ShownWindow()
    {
        form.Show();
        Settle();
    }
    ~ShownWindow() override { form.Close(); }

    static void Settle() { RunEventsFor(50); }
    HWND Handle(const TControl& control) const { return WindowHandleOf(control); }
};

// Another program's window, made active over ours for a while.
class OtherWindow {
public:
    OtherWindow()
    {
        FHandle = CreateWindowExW(0, L"STATIC", L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(FHandle);
        SetActiveWindow(FHandle);
        RunEventsFor(50);
    }
    ~OtherWindow() { DestroyWindow(FHandle); }
    HWND Handle() const { return FHandle; }

private:
    HWND FHandle;
};

TEST_F(ShownWindow, TheFocusedControlHasTheKeyboardAgainAfterAnotherWindowAndABox)
{
    HWND window = Handle(form);
    SetFocus(Handle(*form.Button1));
    {
        const OtherWindow other;
        ASSERT_EQ(GetActiveWindow(), other.Handle());
    }
    SetForegroundWindow(window);
    SetActiveWindow(window);
    Settle();
    EXPECT_EQ(GetFocus(), Handle(*form.Button1)) << "after another window was active";

    // A real box, closed from a timer as the user would close it.
    SetDialogRecorder({});
    bool closed = false;
    TNotifyWindow closer([&](TMessage& message) {
        HWND box = FindWindowW(L"#32770", L"Error");
        if (message.Msg == WM_TIMER && !closed && box != nullptr && IsWindowVisible(box)) {
            closed = true;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    });
    closer.SetTimer(1, 20);
    MessageDlgError("Unable to connect!");
    ASSERT_TRUE(closed);
    Settle();
    EXPECT_EQ(GetFocus(), Handle(*form.Button1)) << "after a box";
}

TEST_F(ShownWindow, EnterPressesStartWhenStartHasTheFocus)
{
    HWND window = Handle(form);
    HWND start = Handle(*form.Button1);
    for (const bool byClick : {false, true}) {
        SCOPED_TRACE(byClick ? "focused by a click" : "focused by Tab");
        SetFocus(Handle(*form.ComboBox3));
        if (byClick) {
            // A click's press gives a push button the focus.
            SendMessageW(start, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            ReleaseCapture();
            SendMessageW(start, BM_SETSTATE, FALSE, 0);
        } else {
            for (int presses = 0; presses < 30 && GetFocus() != start; ++presses) {
                MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
                ASSERT_TRUE(IsDialogMessageW(window, &tab));
            }
        }
        ASSERT_EQ(GetFocus(), start);
        Settle();
        device.written.clear();
        MSG enter{start, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
        IsDialogMessageW(window, &enter);
        Settle();
        EXPECT_EQ(Written(device), "H#") << "START greeted the meter";
    }
}

TEST_F(ShownWindow, AZoomDragWhoseMouseIsTakenAwayEndsWithoutTrace)
{
    Greet();
    for (const char* reading : {"19.53#", "20.00#", "18.50#", "21.00#"})
        Receive(reading);
    HWND chart = Handle(*form.Chart1);
    Settle();
    const double minimum = form.Chart1->BottomAxis()->Minimum();
    const double maximum = form.Chart1->BottomAxis()->Maximum();

    SendMessageW(chart, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(120, 80));
    SendMessageW(chart, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 250));
    ASSERT_TRUE(form.Chart1->ZoomRecord().Active) << "the drag started";
    SetCapture(Handle(form));  // as a box or Alt+Tab takes the mouse
    ReleaseCapture();
    Settle();
    EXPECT_FALSE(form.Chart1->ZoomRecord().Active) << "the drag ended with the mouse";

    // The next click is a click of its own, not the end of the old drag.
    SendMessageW(chart, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 250));
    SendMessageW(chart, WM_LBUTTONUP, 0, MAKELPARAM(300, 250));
    Settle();
    EXPECT_FALSE(form.Chart1->ZoomRecord().Active);
    EXPECT_EQ(form.Chart1->BottomAxis()->Minimum(), minimum) << "nothing was zoomed";
    EXPECT_EQ(form.Chart1->BottomAxis()->Maximum(), maximum);
}

// How many device pixels of `control`'s window on the screen differ from its
// own picture made at the window's size and `ratio`; -1 when either cannot
// be had.
int PixelsOffItsPicture(TControl& control, double ratio)
{
    HWND window = WindowHandleOf(control);
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right;
    const int height = client.bottom;
    TGdiBitmap screen(width, height);
    std::unique_ptr<TBitmap> picture = CreateBitmap(width, height, ratio, control.Color());
    if (screen.Handle() == nullptr || picture == nullptr)
        return -1;
    HDC dc = GetDC(window);
    BitBlt(screen.DC(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    std::unique_ptr<TPainter> painter = picture->CreatePainter();
    if (painter == nullptr)
        return -1;
    control.PaintTo(*painter);
    painter.reset();
    const TPixelBuffer shown = screen.Buffer();
    const TPixelBuffer drawn = picture->Buffer();
    int differing = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            differing += ((shown.Pixels[y * shown.Stride + x] ^ drawn.Pixels[y * drawn.Stride + x]) & 0xFFFFFF) != 0;
    return differing;
}

TEST_F(ShownWindow, MovedToAScreenOfAnotherScaleTheChartAndGaugeFillTheirWindows)
{
    Greet();
    for (int i = 0; i < kChartPictureReadings; ++i)
        Receive(ChartPictureReading(i));
    HWND window = Handle(form);
    ASSERT_EQ(form.DevicePixelRatio(), 1) << "the test display's scale";
    RECT first;
    GetWindowRect(window, &first);

    using TAdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    const auto adjustForDpi = SystemFunction<TAdjustForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
    ASSERT_NE(adjustForDpi, nullptr);
    for (const UINT dpi : {192u, 96u}) {
        SCOPED_TRACE(testing::Message() << "at " << dpi << " dpi");
        const double ratio = dpi / 96.0;
        // The exact frame for that scale, as the system suggests it; at
        // twice the scale in the screen's corner, where all of it is on the
        // test display.
        RECT suggested{0, 0, ToDevice(form.Width(), ratio), ToDevice(form.Height(), ratio)};
        adjustForDpi(&suggested, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), dpi);
        const POINT at = dpi == 96 ? POINT{first.left, first.top} : POINT{0, 0};
        OffsetRect(&suggested, at.x - suggested.left, at.y - suggested.top);
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));

        for (TControl* control : {static_cast<TControl*>(form.Chart1), static_cast<TControl*>(form.Gauge1)}) {
            SCOPED_TRACE(control->Name());
            RECT client;
            GetClientRect(Handle(*control), &client);
            EXPECT_EQ(client.right, ToDevice(control->Width(), ratio));
            EXPECT_EQ(client.bottom, ToDevice(control->Height(), ratio));
            EXPECT_EQ(control->DevicePixelRatio(), ratio) << "what they draw at";
            int off = -1;
            EXPECT_TRUE(WaitUntil([&] { return (off = PixelsOffItsPicture(*control, ratio)) == 0; })) << off;
        }
    }
}

}  // namespace
