// Start-up: the application, its error box, the main window, the message
// loop until the window closes.
#include "app/Unit1.h"

#include "runtime/Dialogs.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // One look on every desktop, close to the classic one the window was
    // laid out for.
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);
    QApplication::setApplicationName(QString::fromStdString(ApplicationTitle()));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/umbrascope.png")));
    // Lets desktops match the window to its installed entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(UMBRASCOPE_APP_ID));
    InstallApplicationErrorBox();

    TForm1 form;
    form.show();
    return QApplication::exec();
}
