// The boxes and the save-file dialog on Qt.
#include "runtime/DialogsSystem.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMessageBox>
#include <QTreeView>

namespace {

constexpr int kFileDialogWidth = 680;
constexpr int kFileDialogHeight = 440;

QMessageBox::Icon IconFor(TMsgDlgType type)
{
    switch (type) {
    case mtWarning:
        return QMessageBox::Warning;
    case mtError:
        return QMessageBox::Critical;
    case mtInformation:
        return QMessageBox::Information;
    case mtConfirmation:
        return QMessageBox::Question;
    case mtCustom:
        break;
    }
    return QMessageBox::NoIcon;
}

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

std::string ProgramFileName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString();
}

bool CanShowBoxes()
{
    // Without a widget application (a console tool, a test without one) a
    // box cannot exist.
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

void ShowSystemBox(const DialogRecord& record)
{
    QMessageBox box(IconFor(record.Type), QString::fromStdString(record.Caption), QString::fromStdString(record.Text),
                    QMessageBox::Ok);
    // exec() rather than open(): the caller waits for the answer, while the
    // nested loop keeps timers and the port's receive polling going.
    box.exec();
}

bool ExecuteSystemSaveDialog(TSaveDialog& settings)
{
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(settings.Title()),
                       QString::fromStdString(settings.StartFolder()));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const std::string& filter : settings.NameFilters())
        filters << QString::fromStdString(filter);
    dialog.setNameFilters(filters);
    if (settings.FilterIndex() >= 1 && settings.FilterIndex() <= filters.size())
        dialog.selectNameFilter(filters[settings.FilterIndex() - 1]);
    dialog.setDefaultSuffix(QString::fromStdString(settings.DefaultSuffix()));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, (settings.Options() & ofOverwritePrompt) == 0);
    dialog.setSizeGripEnabled((settings.Options() & ofEnableSizing) != 0);
    if (!settings.FileName().empty())
        dialog.selectFile(QString::fromStdString(settings.FileName()));
    ShowColumnsWhole(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    settings.SetFileName(QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath().toStdString());
    return true;
}
