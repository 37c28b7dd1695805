#include "runtime/Dialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

TDialogRecorder& Recorder()
{
    static TDialogRecorder recorder;
    return recorder;
}

void ShowModalBox(const DialogRecord& record)
{
    if (Recorder()) {
        Recorder()(record);
        return;
    }
    // Without a widget application (a console tool, a test without one) a
    // box cannot exist; the text still must not be lost.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        std::fprintf(stderr, "%s: %s\n", record.Caption.c_str(), record.Text.c_str());
        return;
    }
    QMessageBox box(record.Icon, QString::fromStdString(record.Caption), QString::fromStdString(record.Text),
                    QMessageBox::Ok);
    // exec() rather than open(): the caller waits for the answer, while the
    // nested loop keeps timers and the port's receive polling going.
    box.exec();
}

}  // namespace

void SetDialogRecorder(TDialogRecorder recorder)
{
    Recorder() = std::move(recorder);
}

QString TitleFromFileName(const QString& fileName)
{
    const QString stem = fileName.section(QLatin1Char('.'), 0, 0);
    if (stem.isEmpty())
        return stem;
    return stem.left(1).toUpper() + stem.mid(1).toLower();
}

QString ApplicationTitle()
{
    return TitleFromFileName(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

std::string ErrorBoxText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

void ShowException(const std::exception& error)
{
    ShowModalBox({ApplicationTitle().toStdString(), ErrorBoxText(error.what()), QMessageBox::Critical, {"OK"}});
}

void InstallApplicationErrorBox()
{
    SetExceptionHandler(ShowException);
}

void MessageDlgError(const std::string& text)
{
    ShowModalBox({"Error", text, QMessageBox::Critical, {"OK"}});
}
