// The window of a control that paints itself (the chart, the gauge): a
// class of our own without a background brush or double clicks. A paint
// draws the whole control into an off-screen bitmap first and copies it in
// one go, so the window never shows a half-drawn picture.
#include "runtime/win32/Win32Controls.h"

#include <windowsx.h>

namespace {

constexpr wchar_t kCustomClass[] = L"UmbrascopeCustomControl";

void RegisterCustomClass()
{
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        // Redrawn whole when resized: the picture depends on the size.
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = TWin32Window::WindowProc;
        windowClass.hInstance = ProgramInstance();
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kCustomClass;
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;  // a failure shows as CreateWindowExW failing
}

class TWin32CustomWindow final : public TWin32ControlWindow<TControlWindow> {
public:
    TWin32CustomWindow(TControl& control, TControlWindow* parent) : FControl(control)
    {
        RegisterCustomClass();
        Attach(CreateChildWindow(kCustomClass, WS_CLIPCHILDREN, 0, parent), true);
    }

    void SetColor(TColor color) override
    {
        FColor = color;
        Invalidate();
    }
    // A chart asks for a repaint with every point it is given. The first
    // request since the last paint stands for all of them: each would
    // otherwise be a call into the system (a trip to the server under Wine).
    // Nothing else validates these windows, so the paint ends the request.
    void Invalidate() override
    {
        if (FRepaintRequested)
            return;
        FRepaintRequested = true;
        InvalidateRect(FHandle, nullptr, FALSE);
    }

protected:
    bool TakesWheel() const override { return true; }

    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        result = 0;
        switch (msg) {
        case WM_ERASEBKGND:
            // The paint covers every pixel; erasing first would flash.
            result = TRUE;
            return true;
        case WM_PAINT: Paint(); return true;
        case WM_LBUTTONDOWN: ButtonDown(mbLeft, wParam, lParam); return true;
        case WM_RBUTTONDOWN: ButtonDown(mbRight, wParam, lParam); return true;
        case WM_MBUTTONDOWN: ButtonDown(mbMiddle, wParam, lParam); return true;
        case WM_LBUTTONUP: ButtonUp(mbLeft, wParam, lParam); return true;
        case WM_RBUTTONUP: ButtonUp(mbRight, wParam, lParam); return true;
        case WM_MBUTTONUP: ButtonUp(mbMiddle, wParam, lParam); return true;
        case WM_MOUSEMOVE: MouseMove(wParam, lParam); return true;
        case WM_MOUSELEAVE:
            FTrackingLeave = false;
            TControlEvents::DeliverMouseLeave(FControl);
            return true;
        case WM_MOUSEWHEEL: MouseWheel(wParam, lParam); return true;
        case WM_CAPTURECHANGED:
            // Alt+Tab, a box or another window took the mouse from a held
            // button: its release will come to someone else.
            if (reinterpret_cast<HWND>(lParam) != FHandle)
                TControlEvents::DeliverMouseCaptureLost(FControl);
            return true;
        default: return TWin32Window::HandleMessage(msg, wParam, lParam, result);
        }
    }

private:
    void Paint()
    {
        // A request made while painting is a new one.
        FRepaintRequested = false;
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(FHandle, &paint);
        RECT client;
        GetClientRect(FHandle, &client);
        PaintPicture(dc, client.right, client.bottom);
        EndPaint(FHandle, &paint);
    }

    void PaintPicture(HDC dc, int width, int height)
    {
        if (width <= 0 || height <= 0)
            return;
        const double ratio = Ratio();
        int pictureWidth = width;
        int pictureHeight = height;
        std::unique_ptr<TBitmap> picture = CreateBitmap(width, height, ratio, FColor);
        if (picture == nullptr) {
            // Where the system cannot make a buffer at the screen's
            // resolution, the picture is drawn at its own size and
            // stretched.
            pictureWidth = ToLogical(width, ratio);
            pictureHeight = ToLogical(height, ratio);
            picture = CreateBitmap(pictureWidth, pictureHeight, 1, FColor);
            if (picture == nullptr)
                return;
        }
        if (std::unique_ptr<TPainter> painter = picture->CreatePainter())
            TControlEvents::DeliverPaint(FControl, *painter);
        HDC source = static_cast<TGdiBitmap&>(*picture).DC();
        if (pictureWidth == width && pictureHeight == height)
            BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
        else
            StretchBlt(dc, 0, 0, width, height, source, 0, 0, pictureWidth, pictureHeight, SRCCOPY);
    }

    TShiftState Shift(WPARAM keys) const { return ShiftFromMouseKeys(keys, GetKeyState(VK_MENU) < 0); }
    int X(LPARAM at) const { return ToLogical(GET_X_LPARAM(at), Ratio()); }
    int Y(LPARAM at) const { return ToLogical(GET_Y_LPARAM(at), Ratio()); }

    void ButtonDown(TMouseButton button, WPARAM keys, LPARAM at)
    {
        // Held buttons keep the mouse: the release reaches the control even
        // outside it.
        SetCapture(FHandle);
        TControlEvents::DeliverMouseDown(FControl, button, Shift(keys), X(at), Y(at));
    }

    void ButtonUp(TMouseButton button, WPARAM keys, LPARAM at)
    {
        TControlEvents::DeliverMouseUp(FControl, button, Shift(keys), X(at), Y(at));
        if ((keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == FHandle)
            ReleaseCapture();
    }

    void MouseMove(WPARAM keys, LPARAM at)
    {
        // The leave message comes once per request.
        if (!FTrackingLeave) {
            TRACKMOUSEEVENT track{};
            track.cbSize = sizeof track;
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = FHandle;
            FTrackingLeave = TrackMouseEvent(&track) != FALSE;
        }
        TControlEvents::DeliverMouseMove(FControl, Shift(keys), X(at), Y(at));
    }

    void MouseWheel(WPARAM wParam, LPARAM lParam)
    {
        // The wheel's point is on the screen, unlike the other mouse messages.
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(FHandle, &at);
        const double ratio = Ratio();
        TControlEvents::DeliverMouseWheel(FControl, Shift(GET_KEYSTATE_WPARAM(wParam)), GET_WHEEL_DELTA_WPARAM(wParam),
                                          ToLogical(at.x, ratio), ToLogical(at.y, ratio));
    }

    TControl& FControl;
    bool FTrackingLeave = false;
    bool FRepaintRequested = false;
};

}  // namespace

std::unique_ptr<TControlWindow> CreateCustomWindow(TControl& control, TControlWindow* parent)
{
    return std::make_unique<TWin32CustomWindow>(control, parent);
}
