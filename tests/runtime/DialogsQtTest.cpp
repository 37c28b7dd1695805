// The boxes and the file chooser on Qt: shown on the screen, and the handler
// guard on signal connections.
#include "runtime/Dialogs.h"

#include "EventLoop.h"
#include "ScopedEnv.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

// Through a signal connection, as widget events are delivered.
TEST(DialogsOnQt, GuardedSlotHandsEscapingExceptionsToTheErrorBox)
{
    std::vector<DialogRecord> shown;
    SetDialogRecorder([&](const DialogRecord& record) { shown.push_back(record); });
    InstallApplicationErrorBox();
    QTimer source;
    int calls = 0;
    QObject::connect(&source, &QTimer::timeout, &source, GuardedSlot([&] {
                         ++calls;
                         throw Exception("Invalid filename");
                     }));
    source.setSingleShot(true);
    source.start(0);
    const bool shownOne = WaitUntil([&] { return shown.size() == 1; });
    SetDialogRecorder({});
    SetExceptionHandler({});
    ASSERT_TRUE(shownOne);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(shown[0].Text, "Invalid filename.");
}

TEST(DialogsOnScreen, BoxRunsANestedLoopUntilClosed)
{
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(5);

    // Closes the box once the ticker has gone on ticking while it is open.
    QString caption, text;
    int ticksWhenSeen = -1;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        if (ticksWhenSeen < 0)
            ticksWhenSeen = ticks;
        if (ticks < ticksWhenSeen + 3)
            return;
        caption = box->windowTitle();
        text = box->text();
        ASSERT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->buttons().front()->text().remove(QLatin1Char('&')), QStringLiteral("OK"));
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        box->buttons().front()->click();
    });
    closer.start(5);
    // Should the check above never close it, the test must not hang.
    QTimer::singleShot(20000, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });

    ShowException(Exception("COM Port has been disconnected!!"));
    closer.stop();
    EXPECT_GE(ticksWhenSeen, 0) << "the box was shown";
    EXPECT_GE(ticks, ticksWhenSeen + 3) << "the ticker went on while the box waited";
    EXPECT_EQ(caption, QStringLiteral("runtime_tests"));
    EXPECT_EQ(text, QStringLiteral("COM Port has been disconnected!!"));
}

TEST(DialogsOnScreen, TheFileChooserOpensInTheDocumentsFolder)
{
    QTemporaryDir home;
    ASSERT_TRUE(QDir(home.path()).mkdir("Documents"));
    const ScopedEnv homeEnv("HOME", home.path().toUtf8());
    const ScopedEnv configEnv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());

    TSaveDialog dialog(nullptr);
    dialog.SetTitle("Save As");
    dialog.SetFilter("Text Files|*.txt");
    QFile log(home.path() + "/Documents/night-of-the-ninth-of-december.txt");
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write(QByteArray(300000, '.'));
    log.close();

    QString folder, title;
    std::vector<QString> cutColumns;
    int ticksWithRows = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (chooser == nullptr)
            return;
        // Wait for the folder's listing to arrive, then check that no column
        // of the details view cuts its header or its entries.
        auto* details = chooser->findChild<QTreeView*>(QStringLiteral("treeView"));
        if (details == nullptr || details->model()->rowCount(details->rootIndex()) == 0)
            return;
        // The view sizes its columns once it has laid the rows out.
        if (++ticksWithRows < 5)
            return;
        folder = chooser->directory().absolutePath();
        title = chooser->windowTitle();
        QHeaderView* header = details->header();
        const QAbstractItemModel* model = details->model();
        for (int column = 0; column < header->count(); ++column) {
            int needed = header->sectionSizeHint(column);
            for (int row = 0; row < model->rowCount(details->rootIndex()); ++row) {
                const QModelIndex cell = model->index(row, column, details->rootIndex());
                // The name column also holds the file's icon.
                const int icon = column == 0 ? details->iconSize().width() : 0;
                needed = std::max(needed, details->fontMetrics().horizontalAdvance(cell.data().toString()) + icon);
            }
            if (header->sectionSize(column) < needed)
                cutColumns.push_back(model->headerData(column, Qt::Horizontal).toString() +
                                     QStringLiteral(" (%1 < %2)").arg(header->sectionSize(column)).arg(needed));
        }
        chooser->reject();
    });
    closer.start(10);
    QTimer::singleShot(20000, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    EXPECT_FALSE(dialog.Execute()) << "cancelled";
    EXPECT_EQ(folder, home.path() + "/Documents");
    EXPECT_EQ(title, "Save As");
    EXPECT_TRUE(cutColumns.empty()) << cutColumns.front().toStdString() << " is cut";

    dialog.SetInitialDir((home.path() + "/Documents/..").toStdString());
    folder.clear();
    ticksWithRows = 0;
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(QDir(folder).canonicalPath(), QDir(home.path()).canonicalPath())
        << "a folder of the caller's choosing wins";
}

}  // namespace
