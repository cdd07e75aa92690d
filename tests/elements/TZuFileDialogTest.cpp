#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/TZu_Event.h"
#include "elements/TZuODialog.h"
#include "elements/TZuSDialog.h"
#include "platform/testing.h"
#include "tests/elements/LinkProbe.h"
#include "toolkit/TOpenSaveDialog.h"

namespace {

// Runs the dialog elements against the test driver's scripted answers, with real files.
class TZuFileDialogTest : public LinkedElementTest {
protected:
    void SetUp() override {
        testdriver::Reset();
        LinkedElementTest::SetUp();
        folder =
            std::filesystem::temp_directory_path() /
            ("kestrin-dialog-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        LinkedElementTest::TearDown();
        std::filesystem::remove_all(folder);
    }

    std::string MakeFile(const std::string& name) {
        const std::filesystem::path path = folder / name;
        std::ofstream(path) << "x";
        return path.string();
    }

    template <class Element> void Wire(Element& element) {
        element.OnExecute = chosen.Point();
        element.OnCancel = cancelled.Point();
    }

    static void Execute(TZuODialog& element) {
        Send(MakeEvent<&TZuODialog::Execute>(&element, 0), MakeReal(0.0));
    }
    static void Execute(TZuSDialog& element) {
        Send(MakeEvent<&TZuSDialog::Execute>(&element, 0), TData{});
    }

    std::filesystem::path folder;
    Probe chosen;
    Probe cancelled;
};

TEST_F(TZuFileDialogTest, OpenDialogSendsTheChosenPathAndKeepsItForTheNextRun) {
    TZuODialog element;
    element.RunDialog = element.OwnDialogRoutine();
    element.Filter = "MP3|*.mp3|WAVE|*.wav";
    element.Title = "Open a file";
    Wire(element);
    const std::string path = MakeFile("a.mp3");
    testdriver::QueueFileDialogPath(path);

    Execute(element);

    ASSERT_EQ(chosen.Values.size(), 1u);
    EXPECT_EQ(chosen.Values[0].Tag, TagString);
    EXPECT_EQ(chosen.Values[0].StrValue, path);
    EXPECT_TRUE(cancelled.Values.empty());
    ASSERT_NE(element.Dialog(), nullptr);
    EXPECT_TRUE(element.Dialog()->OpenDialog);
    EXPECT_EQ(element.Dialog()->FileName, path);
    EXPECT_EQ(element.Dialog()->Filter, "MP3|*.mp3|WAVE|*.wav");
    EXPECT_EQ(element.Dialog()->Title, "Open a file");
    EXPECT_EQ(element.Dialog()->Options, DefaultDialogOptions);
}

TEST_F(TZuFileDialogTest, FilterAndTitleReachThePlatformAsTheDialogShowsThem) {
    using namespace std::string_literals;
    const struct {
        std::string Filter;
        std::string Recorded; // title, line break, the filter list up to its double NUL
    } cases[] = {
        {"MP3|*.mp3|WAVE|*.wav", "Pick\nMP3\0*.mp3\0WAVE\0*.wav\0\0"s},
        {"", "Pick\n"},
        {"PLAY LIST|*.qpl|", "Pick\nPLAY LIST\0*.qpl\0\0"s},
    };
    for (const auto& c : cases) {
        testdriver::Record(testdriver::ApiFamily::Dialogs);
        testdriver::ClearRecordedCalls();
        TZuODialog element;
        element.RunDialog = element.OwnDialogRoutine();
        element.Filter = c.Filter;
        element.Title = "Pick";
        testdriver::QueueFileDialogCancel();

        Execute(element);

        const std::vector<testdriver::ApiCall> calls = testdriver::RecordedCalls();
        ASSERT_EQ(calls.size(), 1u) << c.Filter;
        EXPECT_EQ(calls[0].Function, "GetOpenFileNameA");
        EXPECT_EQ(calls[0].Text, c.Recorded);
        ASSERT_EQ(calls[0].Values.size(), 4u);
        EXPECT_EQ(calls[0].Values[1],
                  DWORD{OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT |
                        OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING});
    }
}

TEST_F(TZuFileDialogTest, NextRunOffersThePreviousNameAndFilterPair) {
    testdriver::Record(testdriver::ApiFamily::Dialogs);
    TZuSDialog element;
    element.Filter = "MP3|*.mp3|WAVE|*.wav";
    const std::string path = MakeFile("b.wav");
    testdriver::QueueFileDialogPath(path);
    Execute(element);
    const std::int32_t chosenPair = element.Dialog()->FilterIndex;
    testdriver::ClearRecordedCalls();
    testdriver::QueueFileDialogCancel();

    Execute(element);

    const std::vector<testdriver::ApiCall> calls = testdriver::RecordedCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Function, "GetSaveFileNameA");
    EXPECT_GE(chosenPair, 1);
    EXPECT_EQ(calls[0].Values[2], static_cast<std::uintptr_t>(chosenPair));
}

TEST_F(TZuFileDialogTest, ExecuteWithoutABoundRoutineShowsNothing) {
    TZuODialog element;
    Wire(element);
    testdriver::QueueFileDialogPath(MakeFile("a.mp3"));

    Execute(element);

    EXPECT_EQ(element.Dialog(), nullptr);
    EXPECT_TRUE(chosen.Values.empty());
    EXPECT_TRUE(cancelled.Values.empty());
}

TEST_F(TZuFileDialogTest, CancelFiresOnCancelAndClearsThePreviousName) {
    TZuODialog element;
    element.RunDialog = element.OwnDialogRoutine();
    Wire(element);
    testdriver::QueueFileDialogPath(MakeFile("a.mp3"));
    testdriver::QueueFileDialogCancel();

    Execute(element);
    Execute(element);

    EXPECT_EQ(chosen.Values.size(), 1u);
    ASSERT_EQ(cancelled.Values.size(), 1u);
    EXPECT_EQ(cancelled.Values[0].Tag, TagNone);
    EXPECT_EQ(element.Dialog()->FileName, "");
}

TEST_F(TZuFileDialogTest, SaveDialogRunsOnExecuteAndSendsTheName) {
    TZuSDialog element;
    element.Filter = "PLAY LIST|*.qpl";
    Wire(element);
    const std::string path = (folder / "new.qpl").string();
    testdriver::QueueFileDialogPath(path);

    Execute(element);

    ASSERT_NE(element.Dialog(), nullptr);
    EXPECT_FALSE(element.Dialog()->OpenDialog);
    ASSERT_EQ(chosen.Values.size(), 1u);
    EXPECT_EQ(chosen.Values[0].StrValue, path);
}

TEST_F(TZuFileDialogTest, PropertiesChangedAfterTheFirstRunDoNotReachTheDialog) {
    TZuODialog open;
    open.RunDialog = open.OwnDialogRoutine();
    TZuSDialog save;
    for (TZuFileDialog* element :
         {static_cast<TZuFileDialog*>(&open), static_cast<TZuFileDialog*>(&save)}) {
        element->Filter = "PLAY LIST|*.qpl";
        element->Title = "First";
        element->StartDir = folder.string();
    }
    testdriver::QueueFileDialogCancel();
    Execute(open);
    testdriver::QueueFileDialogCancel();
    Execute(save);

    for (TZuFileDialog* element :
         {static_cast<TZuFileDialog*>(&open), static_cast<TZuFileDialog*>(&save)}) {
        const TOpenSaveDialog* dialog = element->Dialog();
        element->Filter = "MP3|*.mp3";
        element->Title = "Second";
        element->StartDir = "/elsewhere";
        EXPECT_EQ(element->Dialog(), dialog);
        EXPECT_EQ(dialog->Filter, "PLAY LIST|*.qpl");
        EXPECT_EQ(dialog->Title, "First");
        EXPECT_EQ(dialog->InitialDir, folder.string());
    }
    testdriver::QueueFileDialogCancel();
    Execute(open);
    EXPECT_EQ(open.Dialog()->Filter, "PLAY LIST|*.qpl");
}

} // namespace
