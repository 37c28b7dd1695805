// The top-level window a program's controls live on.
#pragma once

#include "runtime/Classes.h"
#include "runtime/Graphics.h"

#include <QWidget>

// A window of fixed client size with a single border: no maximise button,
// no resizing, centred on the desktop the first time it is shown. It owns the
// controls and components placed on it and frees them when it goes, the
// most recently created first.
class TForm : public QWidget, public TComponent {
    Q_OBJECT
public:
    TForm(int clientWidth, int clientHeight);
    ~TForm() override;

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& value) { setWindowTitle(value); }
    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    // Runs when the window becomes the application's active form. With one
    // window that is once, when it is first shown; dialogs and message boxes
    // hand the activation back without running it again.
    const TNotifyEvent& OnActivate() const { return FOnActivate; }
    void SetOnActivate(TNotifyEvent handler) { FOnActivate = std::move(handler); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CentreOnDesktop();

    TColor FColor = clBtnFace;
    TNotifyEvent FOnActivate;
    bool FShownOnce = false;
};
