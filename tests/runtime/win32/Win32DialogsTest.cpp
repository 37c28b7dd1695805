// The system's own message box and save dialog, opened for real on the test
// display and answered from a timer, as a user would answer them: the wait
// is a nested message loop in which timers go on ticking.
#include "runtime/Dialogs.h"
#include "runtime/Forms.h"
#include "runtime/NotifyWindow.h"
#include "runtime/win32/Win32Controls.h"

#include "EventLoop.h"
#include "TemporaryFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <vector>

namespace {

// The control ids of the system's dialogs that the tests read and set.
constexpr int kMessageBoxText = 0xFFFF;
constexpr int kFileNameCombo = 0x047C;  // the name box of the explorer-style dialog
constexpr int kFileNameEdit = 0x0480;   // the same in the older layout
constexpr int kFileTypeCombo = 0x0470;

std::string ItemText(HWND dialog, int id)
{
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

BOOL CALLBACK AddButtonCaption(HWND child, LPARAM list)
{
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    if (IsWindowVisible(child) && lstrcmpiA(className, "Button") == 0) {
        char text[64] = {};
        GetWindowTextA(child, text, sizeof text);
        reinterpret_cast<std::vector<std::string>*>(list)->push_back(text);
    }
    return TRUE;
}

// The captions of the visible push buttons of `dialog`, in order.
std::vector<std::string> ButtonCaptions(HWND dialog)
{
    std::vector<std::string> captions;
    EnumChildWindows(dialog, AddButtonCaption, reinterpret_cast<LPARAM>(&captions));
    return captions;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Calls `answer` with the dialog captioned `caption` once it is on the
// screen and `ready` holds, from a timer of its own; counts its ticks, which
// go on only while the message loop runs.
class DialogAnswerer {
public:
    DialogAnswerer(std::string caption, std::function<bool()> ready, std::function<void(HWND)> answer)
        : FCaption(std::move(caption)), FReady(std::move(ready)), FAnswer(std::move(answer)),
          FTimer([this](TMessage& message) { Tick(message); })
    {
        FTimer.SetTimer(1, 10);
    }

    bool Answered() const { return FAnswered; }

private:
    void Tick(TMessage& message)
    {
        if (message.Msg != WM_TIMER || FAnswered)
            return;
        HWND dialog = FindWindowA("#32770", FCaption.c_str());
        if (dialog == nullptr || !IsWindowVisible(dialog) || !FReady())
            return;
        FAnswered = true;
        FAnswer(dialog);
    }

    std::string FCaption;
    std::function<bool()> FReady;
    std::function<void(HWND)> FAnswer;
    bool FAnswered = false;
    TNotifyWindow FTimer;
};

void Press(HWND dialog, int button)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

TEST(DialogsOnWindows, TheErrorBoxWaitsInANestedLoopUntilClosed)
{
    int ticks = 0;
    TNotifyWindow ticker([&](TMessage& message) {
        if (message.Msg == WM_TIMER)
            ++ticks;
    });
    ticker.SetTimer(1, 5);
    std::string text;
    std::vector<std::string> buttons;
    DialogAnswerer closer(
        ApplicationTitle(), [&] { return ticks >= 5; },
        [&](HWND box) {
            text = ItemText(box, kMessageBoxText);
            buttons = ButtonCaptions(box);
            Press(box, IDOK);
        });

    ShowException(Exception("File access denied"));
    EXPECT_TRUE(closer.Answered()) << "the box returned before anyone closed it";
    EXPECT_GE(ticks, 5) << "timers stopped while the box waited";
    EXPECT_EQ(ApplicationTitle(), "runtime_tests");
    EXPECT_EQ(text, "File access denied.");
    EXPECT_EQ(buttons, std::vector<std::string>{"OK"});
}

TEST(DialogsOnWindows, TheMessageDialogIsCaptionedError)
{
    std::string text;
    DialogAnswerer closer(
        "Error", [] { return true; },
        [&](HWND box) {
            text = ItemText(box, kMessageBoxText);
            Press(box, IDOK);
        });
    MessageDlgError("COM Port has been disconnected!!");
    EXPECT_TRUE(closer.Answered());
    EXPECT_EQ(text, "COM Port has been disconnected!!");
}

TEST(DialogsOnWindows, TheSaveDialogOpensInItsFolderAndAddsTheExtension)
{
    TemporaryFolder folder;
    ASSERT_TRUE(folder.Ok());
    TSaveDialog dialog(nullptr);
    dialog.SetDefaultExt(".txt");
    dialog.SetFilter("Text Files|*.txt");
    dialog.SetTitle("Save As");
    dialog.SetInitialDir(folder.Path());

    std::string fileType;
    DialogAnswerer cancel(
        "Save As", [] { return true; },
        [&](HWND chooser) {
            fileType = ItemText(chooser, kFileTypeCombo);
            Press(chooser, IDCANCEL);
        });
    EXPECT_FALSE(dialog.Execute()) << "cancelled";
    EXPECT_TRUE(cancel.Answered());
    EXPECT_EQ(fileType, "Text Files");

    DialogAnswerer confirm(
        "Save As", [] { return true; },
        [&](HWND chooser) {
            SetDlgItemTextA(chooser, kFileNameCombo, "night");
            SetDlgItemTextA(chooser, kFileNameEdit, "night");
            Press(chooser, IDOK);
        });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(Lower(dialog.FileName()), Lower(folder.PathOf("night.txt")));

    // A name in letters the ANSI code page lacks comes back as it was typed.
    const std::wstring typed = L"Messung M\u00e4rz \u0141ukasz \u5c71\u7530";
    DialogAnswerer named(
        "Save As", [] { return true; },
        [&](HWND chooser) {
            SetDlgItemTextW(chooser, kFileNameCombo, typed.c_str());
            SetDlgItemTextW(chooser, kFileNameEdit, typed.c_str());
            Press(chooser, IDOK);
        });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), folder.PathOf("") + "Messung M\u00e4rz \u0141ukasz \u5c71\u7530.txt");
}

// A box about a failed log step or an unplugged meter comes while the
// program is in the background: it belongs to the main window all the same,
// in front of it and keeping it from input until answered.
TEST(DialogsOnWindows, BoxesBelongToTheMainWindowWhenAnotherIsActive)
{
    TForm form(200, 100);
    form.Show();
    HWND main = WindowHandleOf(form);
    SetMainFormWindow(main);
    HWND other = CreateWindowExW(0, L"STATIC", L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetActiveWindow(other);
    ASSERT_EQ(GetActiveWindow(), other);

    HWND owner = nullptr;
    bool mainEnabled = true;
    DialogAnswerer closer(
        "Error", [] { return true; },
        [&](HWND box) {
            owner = GetWindow(box, GW_OWNER);
            mainEnabled = IsWindowEnabled(main) != FALSE;
            Press(box, IDOK);
        });
    MessageDlgError("COM Port has been disconnected!!");
    SetMainFormWindow(nullptr);
    DestroyWindow(other);
    EXPECT_TRUE(closer.Answered());
    EXPECT_EQ(owner, main);
    EXPECT_FALSE(mainEnabled) << "the main window waits for the box";
    EXPECT_TRUE(IsWindowEnabled(main)) << "and takes input again once it is answered";
}

}  // namespace
