// The error box and the message dialog as the program asks for them, the
// application title, and the save dialog's file types: recorded, not shown.
#include "runtime/Dialogs.h"

#include "EventLoop.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

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
        {"umbrascope", "umbrascope"}, {"UMBRA.SCOPE.exe", "Umbra"}, {"Umbrascope.exe", "Umbrascope"},
        {"mY_Meter2", "my_meter2"},   {".hidden", ""},              {"x", "x"},
    };
    for (const auto& [fileName, title] : table)
        EXPECT_EQ(TitleFromFileName(fileName), title) << fileName;
    EXPECT_EQ(ApplicationTitle(), "runtime_tests");
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
    EXPECT_EQ(FShown[0].Caption, "runtime_tests");
    EXPECT_EQ(FShown[0].Text, "File access denied.");
    EXPECT_EQ(FShown[0].Type, mtError);
    EXPECT_EQ(FShown[0].Buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(FShown[1].Caption, "Error");
    EXPECT_EQ(FShown[1].Text, "Unable to connect!") << "the dialog adds no period";
    EXPECT_EQ(FShown[1].Type, mtError);
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
    EXPECT_EQ(FShown[0].Caption, "runtime_tests");
    EXPECT_EQ(FShown[0].Text, "Disk full.");
    EXPECT_EQ(FShown[1].Text, "boom!");
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

TEST(SaveDialog, FilterPairsBecomeNameFilters)
{
    TSaveDialog dialog(nullptr);
    dialog.SetFilter("Text Files|*.txt|Logs|*.log;*.csv");
    EXPECT_EQ(dialog.NameFilters(), (std::vector<std::string>{"Text Files (*.txt)", "Logs (*.log *.csv)"}));
    dialog.SetFilter("Text Files");
    EXPECT_TRUE(dialog.NameFilters().empty()) << "a description without a pattern";
}

}  // namespace
