// The application's error box and the message dialog, and the guard through
// which every event handler runs.
#pragma once

#include "runtime/SysUtils.h"

#include <QMessageBox>
#include <QString>

#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

// What a modal box shows: for tests that record boxes instead of showing them.
struct DialogRecord {
    std::string Caption;
    std::string Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    std::vector<std::string> Buttons;
};

using TDialogRecorder = std::function<void(const DialogRecord&)>;

// While a recorder is set, the boxes below hand it what they would show and
// return at once instead of waiting for the user. An empty function restores
// the real boxes.
void SetDialogRecorder(TDialogRecorder recorder);

// The application title from a program file name: the name up to its first
// period, the first letter in upper case and every later one in lower case.
QString TitleFromFileName(const QString& fileName);

// TitleFromFileName of the running program file.
QString ApplicationTitle();

// The error box text: `message` with "." added when its last character's
// code is above that of "." (so "!" and "." end it as they are).
std::string ErrorBoxText(const std::string& message);

// Shows the application's error box for `error` (caption ApplicationTitle(),
// error icon, one "OK" button) and returns when the user has closed it.
// The wait runs a nested event loop: timers and receive events go on.
void ShowException(const std::exception& error);

// Makes ShowException the handler of exceptions that escape event handlers.
void InstallApplicationErrorBox();

// The message dialog of error type: caption "Error", error icon, one "OK"
// button; modal, returns when closed, nested event loop meanwhile.
void MessageDlgError(const std::string& text);

// Runs `handler` and reports any exception it raises through
// HandleCurrentException(), so that nothing escapes into Qt's event loop.
template <class F>
void Guarded(F&& handler) noexcept
{
    try {
        std::forward<F>(handler)();
    } catch (...) {
        HandleCurrentException();
    }
}

// Wraps `handler` for QObject::connect: the slot runs it through Guarded.
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
