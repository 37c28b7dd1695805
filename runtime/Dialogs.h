// The application's error box and the message dialog, and the guard through
// which every event handler runs.
#pragma once

#include "runtime/Classes.h"
#include "runtime/SysUtils.h"

#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

// The kind of a message box, which gives it its icon.
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// What a modal box shows: for tests that record boxes instead of showing them.
struct DialogRecord {
    std::string Caption;
    std::string Text;
    TMsgDlgType Type = mtCustom;
    std::vector<std::string> Buttons;
};

using TDialogRecorder = std::function<void(const DialogRecord&)>;

// While a recorder is set, the boxes below hand it what they would show and
// return at once instead of waiting for the user. An empty function restores
// the real boxes.
void SetDialogRecorder(TDialogRecorder recorder);

// The application title from a program file name: the name up to its first
// period, the first letter in upper case and every later one in lower case.
std::string TitleFromFileName(const std::string& fileName);

// TitleFromFileName of the running program file.
std::string ApplicationTitle();

// The error box text: `message` with "." added when its last character's
// code is above that of "." (so "!" and "." end it as they are).
std::string ErrorBoxText(const std::string& message);

// Shows the application's error box for `error` (caption ApplicationTitle(),
// error icon, one "OK" button) and returns when the user has closed it.
// The wait runs a nested event loop: timers and receive events go on.
void ShowException(const std::exception& error);

// Shows the error box for `error` as ShowException does, but only once the
// event handler that is running has returned: a timer whose handler is still
// on the stack is not delivered again, so a box opened from inside a receive
// tick would stop the port's polling for as long as it waits. While a box
// with the same text is open or about to open, the same error opens no
// other, so a fault that lasts cannot pile up boxes and nested loops; a
// different text opens over it. Without an application the text goes to
// standard error at once.
void PostException(const std::exception& error);

// Makes PostException the handler of exceptions that escape event handlers.
void InstallApplicationErrorBox();

// The message dialog of error type: caption "Error", error icon, one "OK"
// button; modal, returns when closed, nested event loop meanwhile.
void MessageDlgError(const std::string& text);

// Runs `handler` and reports any exception it raises through
// HandleCurrentException(), so that nothing escapes into the message loop.
template <class F>
void Guarded(F&& handler) noexcept
{
    try {
        std::forward<F>(handler)();
    } catch (...) {
        HandleCurrentException();
    }
}

// Wraps `handler` for a Qt signal connection: the slot runs it through
// Guarded.
// A handler that takes none of the signal's arguments is called without them
// (Qt cannot tell how many a generic slot wants, so it passes them all).
template <class F>
auto GuardedSlot(F handler)
{
    return [handler = std::move(handler)](auto&&... args) {
        Guarded([&] {
            if constexpr (std::is_invocable_v<F&, decltype(args)...>)
                handler(std::forward<decltype(args)>(args)...);
            else
                handler();
        });
    };
}

// Options of the save-file dialog that the window uses.
enum TOpenOption { ofHideReadOnly = 1, ofEnableSizing = 2, ofOverwritePrompt = 4 };

class TSaveDialog;
// For tests: while set, Execute hands the dialog to the chooser instead of
// showing it; the chooser sets FileName and returns whether the user
// confirmed. An empty function restores the real dialog.
using TFileChooser = std::function<bool(TSaveDialog& dialog)>;
void SetFileChooser(TFileChooser chooser);

// The save-file dialog: the platform's file chooser with the settings the
// window gives it. Execute waits for the user in a nested event loop, so
// timers and receive events go on meanwhile.
class TSaveDialog : public TComponent {
public:
    explicit TSaveDialog(TComponent* AOwner);

    // The extension added to a name typed without one, with or without its
    // leading period (".txt").
    const std::string& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const std::string& value) { FDefaultExt = value; }
    // Pairs of description and pattern, all separated by "|":
    // "Text Files|*.txt".
    const std::string& Filter() const { return FFilter; }
    void SetFilter(const std::string& value) { FFilter = value; }
    // 1 for the first file type.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int value) { FFilterIndex = value; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value) { FTitle = value; }
    int Options() const { return FOptions; }
    void SetOptions(int value) { FOptions = value; }
    // The folder the dialog opens in; empty (the default) opens where the
    // user keeps documents (UserDocumentsFolder()).
    const std::string& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const std::string& value) { FInitialDir = value; }
    // Before Execute: the name the dialog opens with; after a confirmed
    // Execute: the full path chosen.
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& value) { FFileName = value; }

    // Shows the dialog; true when the user confirmed a file.
    bool Execute();

    // The file types of Filter, described with their patterns: "Text Files
    // (*.txt)"; a description without a pattern is left out.
    std::vector<std::string> NameFilters() const;
    // The (description, pattern) pairs of Filter, in order.
    std::vector<std::pair<std::string, std::string>> FilterPairs() const;
    // The folder Execute opens in.
    std::string StartFolder() const;
    // DefaultExt without its leading period.
    std::string DefaultSuffix() const;

private:
    std::string FDefaultExt;
    std::string FFilter;
    int FFilterIndex = 1;
    std::string FTitle;
    int FOptions = ofHideReadOnly | ofEnableSizing;
    std::string FInitialDir;
    std::string FFileName;
};
