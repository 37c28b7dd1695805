// The top-level window a program's controls live on, and the application
// that runs the windows.
#pragma once

#include "runtime/Classes.h"
#include "runtime/Controls.h"

#include <memory>
#include <string>

class TFormWindow;

// A window of fixed client size with a single border: system menu and
// minimise, no maximise, no resizing, centred on the desktop the first time
// it is shown. It owns the controls and components placed on it and frees
// them when it goes, the most recently created first. Hidden until Show.
class TForm : public TWinControl {
public:
    TForm(int clientWidth, int clientHeight);
    ~TForm() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);

    // Hides the window (as the close button does); the application's loop
    // ends when it is the main one. Show shows it again.
    void Close();

    // Runs when the window becomes the application's active form. With one
    // window that is once, when it is first shown; dialogs and message boxes
    // hand the activation back without running it again.
    const TNotifyEvent& OnActivate() const { return FOnActivate; }
    void SetOnActivate(TNotifyEvent handler) { FOnActivate = std::move(handler); }

private:
    friend struct TControlEvents;
    TFormWindow& FormWindow() const;
    void Activate();

    std::string FCaption;
    TNotifyEvent FOnActivate;
    bool FActivated = false;
};

// What the desktop knows the program by, besides its title (which the
// program's file name gives, ApplicationTitle).
struct TApplicationInfo {
    // The window icon, as a resource of the program (on Windows the
    // executable's own icon is used whatever this says).
    std::string IconResource;
    // The name of the program's desktop entry (Linux desktops match windows
    // to their entry by it).
    std::string DesktopFileName;
};

// The connection to the window system, for the life of the program: made
// first thing in main, before any window.
class TApplication {
public:
    TApplication(int& argc, char** argv, const TApplicationInfo& info);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Shows `mainForm` and handles messages until it closes; the program's
    // exit code.
    int Run(TForm& mainForm);

private:
    struct TSystem;
    std::unique_ptr<TSystem> FSystem;
};
