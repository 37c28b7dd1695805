#include "runtime/Dialogs.h"

#include "runtime/Folders.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeView>

#include <cstdio>
#include <set>

namespace {

constexpr int kFileDialogWidth = 680;
constexpr int kFileDialogHeight = 440;

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

namespace {

// Texts of the error boxes posted and not yet closed.
std::set<std::string>& PostedErrorBoxes()
{
    static std::set<std::string> texts;
    return texts;
}

}  // namespace

void PostException(const std::exception& error)
{
    DialogRecord record{ApplicationTitle().toStdString(), ErrorBoxText(error.what()), QMessageBox::Critical, {"OK"}};
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        ShowModalBox(record);
        return;
    }
    if (!PostedErrorBoxes().insert(record.Text).second)
        return;
    QMetaObject::invokeMethod(
        application,
        [record] {
            // Runs from the event loop, which must not see an exception; the
            // text is free again however the box ends.
            try {
                ShowModalBox(record);
            } catch (...) {
                std::fprintf(stderr, "%s: %s\n", record.Caption.c_str(), record.Text.c_str());
            }
            PostedErrorBoxes().erase(record.Text);
        },
        Qt::QueuedConnection);
}

void InstallApplicationErrorBox()
{
    SetExceptionHandler(PostException);
}

void MessageDlgError(const std::string& text)
{
    ShowModalBox({"Error", text, QMessageBox::Critical, {"OK"}});
}

namespace {

TFileChooser& FileChooser()
{
    static TFileChooser chooser;
    return chooser;
}

}  // namespace

void SetFileChooser(TFileChooser chooser)
{
    FileChooser() = std::move(chooser);
}

TSaveDialog::TSaveDialog(TComponent* AOwner) : TComponent(AOwner) {}

QStringList TSaveDialog::NameFilters() const
{
    QStringList filters;
    const QStringList parts = FFilter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << QStringLiteral("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')));
    return filters;
}

namespace {

// Qt's own file dialog opens small, with Size, Type and Date Modified cut
// off; give it room, and its detail columns the width of what they show.
// A dialog of the desktop's own is sized by the desktop and has no view
// here to change.
void ShowColumnsWhole(QFileDialog& dialog)
{
    dialog.resize(dialog.size().expandedTo(QSize(kFileDialogWidth, kFileDialogHeight)));
    auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (details == nullptr)
        return;
    QHeaderView* header = details->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}

}  // namespace

QString TSaveDialog::StartFolder() const
{
    return FInitialDir.isEmpty() ? QString::fromStdString(UserDocumentsFolder()) : FInitialDir;
}

bool TSaveDialog::Execute()
{
    if (FileChooser())
        return FileChooser()(*this);

    QFileDialog dialog(QApplication::activeWindow(), FTitle, StartFolder());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = NameFilters();
    dialog.setNameFilters(filters);
    if (FFilterIndex >= 1 && FFilterIndex <= filters.size())
        dialog.selectNameFilter(filters[FFilterIndex - 1]);
    QString suffix = FDefaultExt;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, (FOptions & ofOverwritePrompt) == 0);
    dialog.setSizeGripEnabled((FOptions & ofEnableSizing) != 0);
    if (!FFileName.isEmpty())
        dialog.selectFile(FFileName);
    ShowColumnsWhole(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    FFileName = QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
    return true;
}
