#include "runtime/Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace {

std::string WithTrailingSeparator(const QString& folder)
{
    return QDir::toNativeSeparators(QDir(folder).absolutePath() + QDir::separator()).toStdString();
}

}  // namespace

std::string ProgramFolder()
{
    return WithTrailingSeparator(QCoreApplication::applicationDirPath());
}

std::string UserDocumentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // The location is named even where no such folder was ever made.
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return WithTrailingSeparator(documents);
    return WithTrailingSeparator(QDir::homePath());
}

bool FolderIsWritable(const std::string& folder)
{
    // access() answers for this process' own rights, root's included, and
    // says EROFS for a file system mounted read-only.
    return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool FolderKeepsFiles(const std::string& folder)
{
    // The desktops here start a program where the user put it, not from a
    // temporary copy, so a writable folder is one the user chose to keep.
    return FolderIsWritable(folder);
}
