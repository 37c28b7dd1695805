// The error box, the message dialog and the handler guard.
#include "runtime/Dialogs.h"

#include "EventLoop.h"
#include "ScopedEnv.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

// Records the boxes instead of showing them, and restores everything after.
class Dialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDialogRecorder([this](const DialogRecord& record) { FShown.push_back(record); });
    }
    void TearDown() override
    {
        SetDialogRecorder({});
        SetExceptionHandler({});
    }

    std::vector<DialogRecord> FShown;
};

TEST(DialogText, TitleIsTheFileNameUpToItsFirstPeriod)
{
    const std::pair<const char*, const char*> table[] = {
        {"umbrascope", "Umbrascope"}, {"UMBRA.SCOPE.exe", "Umbra"}, {"Umbrascope.exe", "Umbrascope"},
        {"mY_Meter2", "My_meter2"},   {".hidden", ""},              {"x", "X"},
    };
    for (const auto& [fileName, title] : table)
        EXPECT_EQ(TitleFromFileName(QString::fromUtf8(fileName)), QString::fromUtf8(title)) << fileName;
    EXPECT_EQ(ApplicationTitle(), QStringLiteral("Runtime_tests"));
}

TEST(DialogText, PeriodIsAddedAfterCharactersAboveIt)
{
    const std::pair<const char*, const char*> table[] = {
        {"Disk full", "Disk full."}, {"Unable!", "Unable!"}, {"x.", "x."}, {"", ""},
        {"I/O error 32", "I/O error 32."}, {"Wait,", "Wait,"}, {"Path /", "Path /."}, {"(1)", "(1)"},
        {"caf\xC3\xA9", "caf\xC3\xA9."},
    };
    for (const auto& [message, text] : table)
        EXPECT_EQ(ErrorBoxText(message), text) << message;
}

TEST_F(Dialogs, ErrorBoxAndMessageDialogShowWhatTheyShould)
{
    ShowException(Exception("File access denied"));
    MessageDlgError("Unable to connect!");
    ASSERT_EQ(FShown.size(), 2u);
    EXPECT_EQ(FShown[0].Caption, "Runtime_tests");
    EXPECT_EQ(FShown[0].Text, "File access denied.");
    EXPECT_EQ(FShown[0].Icon, QMessageBox::Critical);
    EXPECT_EQ(FShown[0].Buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(FShown[1].Caption, "Error");
    EXPECT_EQ(FShown[1].Text, "Unable to connect!") << "the dialog adds no period";
    EXPECT_EQ(FShown[1].Icon, QMessageBox::Critical);
    EXPECT_EQ(FShown[1].Buttons, std::vector<std::string>{"OK"});
}

TEST_F(Dialogs, GuardedHandsEscapingExceptionsToTheErrorBoxAfterTheHandlerReturns)
{
    InstallApplicationErrorBox();
    bool ranAfter = false;
    Guarded([] { throw Exception("Disk full"); });
    Guarded([] { throw std::runtime_error("boom!"); });
    Guarded([&] { ranAfter = true; });
    EXPECT_TRUE(ranAfter);
    EXPECT_TRUE(FShown.empty()) << "no box opens from inside the handler";
    ASSERT_TRUE(WaitUntil([&] { return FShown.size() == 2; }));
    EXPECT_EQ(FShown[0].Caption, "Runtime_tests");
    EXPECT_EQ(FShown[0].Text, "Disk full.");
    EXPECT_EQ(FShown[1].Text, "boom!");

    // Through a connection, as widget events will be delivered.
    QTimer source;
    int calls = 0;
    QObject::connect(&source, &QTimer::timeout, &source, GuardedSlot([&] {
                         ++calls;
                         throw Exception("Invalid filename");
                     }));
    source.setSingleShot(true);
    source.start(0);
    ASSERT_TRUE(WaitUntil([&] { return FShown.size() == 3; }));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(FShown[2].Text, "Invalid filename.");
}

TEST_F(Dialogs, AnErrorAlreadyWaitingToBeShownOpensNoSecondBox)
{
    InstallApplicationErrorBox();
    for (int i = 0; i < 50; ++i)
        Guarded([] { throw Exception("Disk full"); });
    Guarded([] { throw Exception("File access denied"); });
    RunEventsFor(50);
    ASSERT_EQ(FShown.size(), 2u);
    EXPECT_EQ(FShown[0].Text, "Disk full.");
    EXPECT_EQ(FShown[1].Text, "File access denied.");

    // Once closed, the same error shows again.
    Guarded([] { throw Exception("Disk full"); });
    ASSERT_TRUE(WaitUntil([&] { return FShown.size() == 3; }));
    EXPECT_EQ(FShown[2].Text, "Disk full.");
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
    EXPECT_EQ(caption, QStringLiteral("Runtime_tests"));
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

    dialog.SetInitialDir(home.path() + "/Documents/..");
    folder.clear();
    ticksWithRows = 0;
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(QDir(folder).canonicalPath(), QDir(home.path()).canonicalPath())
        << "a folder of the caller's choosing wins";
}

}  // namespace
