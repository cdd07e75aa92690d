#include "toolkit/DialogRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "toolkit/TOpenSaveDialog.h"

namespace {

using namespace std::string_literals;

// The filter list as the platform reads it: up to and including the two NULs that end it.
std::string FilterSeenByPlatform(const OPENFILENAMEA& record) {
    const char* text = record.lpstrFilter;
    std::size_t size = 0;
    while (text[size] != '\0' || text[size + 1] != '\0') {
        ++size;
    }
    return std::string(text, size + 2);
}

// Writes a result into the record as the platform does: the name, then NULs.
void Answer(DialogRecord& request, const std::string& bytes, DWORD filterIndex) {
    std::memcpy(request.Record().lpstrFile, bytes.data(), bytes.size());
    request.Record().nFilterIndex = filterIndex;
}

class DialogRecordTest : public ::testing::Test {
protected:
    void TearDown() override { Free(dialog); }

    TOpenSaveDialog* dialog = CreateOpenSaveDialog("", "", 0);
};

TEST(ConvertFilterTest, TurnsBarsIntoNulsAndEndsWithTwo) {
    const struct {
        std::string Filter;
        std::string Converted;
    } cases[] = {
        {"MP3|*.mp3|WAVE|*.wav", "MP3\0*.mp3\0WAVE\0*.wav\0\0"s},
        {"PLAY LIST|*.qpl", "PLAY LIST\0*.qpl\0\0"s},
        {"A|*.a|", "A\0*.a\0\0\0"s},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConvertFilter(c.Filter), c.Converted) << c.Filter;
    }
}

TEST(DialogFlagsTest, MapsEachOptionBitToItsFlagPlusTheFixedOnes) {
    const DWORD fixed = OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING;
    const DWORD bitFlags[] = {
        OFN_CREATEPROMPT,     OFN_EXTENSIONDIFFERENT, OFN_FILEMUSTEXIST,    OFN_HIDEREADONLY,
        OFN_NOCHANGEDIR,      OFN_NODEREFERENCELINKS, OFN_ALLOWMULTISELECT, OFN_NONETWORKBUTTON,
        OFN_NOREADONLYRETURN, OFN_OVERWRITEPROMPT,    OFN_PATHMUSTEXIST,    OFN_READONLY,
        OFN_NOVALIDATE,       OFN_ENABLETEMPLATE,     OFN_ENABLEHOOK,
    };
    EXPECT_EQ(DialogFlags(0), fixed);
    for (std::uint32_t bit = 0; bit < 15; ++bit) {
        EXPECT_EQ(DialogFlags(1u << bit), fixed | bitFlags[bit]) << "bit " << bit;
    }
    // Bits above the fifteen options switch nothing on.
    EXPECT_EQ(DialogFlags(0xFFFF8000u), fixed);
}

TEST(CreateOpenSaveDialogTest, FillsTheArgumentsAndDefaultsTheOptions) {
    TOpenSaveDialog* dialog = CreateOpenSaveDialog("Pick", "/music", 0);
    EXPECT_EQ(dialog->Title, "Pick");
    EXPECT_EQ(dialog->InitialDir, "/music");
    EXPECT_EQ(dialog->Options, DefaultDialogOptions);
    EXPECT_EQ(DialogFlags(dialog->Options), OFN_FILEMUSTEXIST | OFN_HIDEREADONLY |
                                                OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST |
                                                OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING);
    EXPECT_TRUE(dialog->OpenDialog);
    EXPECT_EQ(dialog->FilterIndex, 0);
    EXPECT_TRUE(dialog->FileName.empty());
    EXPECT_TRUE(dialog->Filter.empty());
    EXPECT_EQ(dialog->WndOwner, nullptr);
    Free(dialog);

    TOpenSaveDialog* multi = CreateOpenSaveDialog("", "", DialogOptionAllowMultiSelect);
    EXPECT_EQ(multi->Options, DialogOptionAllowMultiSelect);
    Free(multi);
}

TEST_F(DialogRecordTest, HandsTheSettingsToThePlatform) {
    dialog->Filter = "MP3|*.mp3|WAVE|*.wav";
    dialog->FilterIndex = 2;
    dialog->InitialDir = "/music";
    dialog->Title = "Open";
    dialog->DefExtension = "mp3";
    dialog->WndOwner = reinterpret_cast<HWND>(0x1234);
    DialogRecord request(*dialog);
    const OPENFILENAMEA& record = request.Record();

    EXPECT_EQ(record.lStructSize, OPENFILENAME_SIZE_VERSION_400A);
    EXPECT_EQ(record.hwndOwner, reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(record.hInstance, GetModuleHandleA(nullptr));
    EXPECT_EQ(FilterSeenByPlatform(record), "MP3\0*.mp3\0WAVE\0*.wav\0\0"s);
    EXPECT_EQ(record.nFilterIndex, 2u);
    EXPECT_STREQ(record.lpstrInitialDir, "/music");
    EXPECT_STREQ(record.lpstrTitle, "Open");
    EXPECT_STREQ(record.lpstrDefExt, "mp3");
    EXPECT_EQ(record.lCustData, reinterpret_cast<LPARAM>(dialog));
    EXPECT_EQ(record.Flags, DialogFlags(DefaultDialogOptions));
    EXPECT_EQ(record.lpstrFileTitle, nullptr);
    EXPECT_EQ(record.lpstrCustomFilter, nullptr);
    EXPECT_EQ(record.lpfnHook, nullptr);
    EXPECT_EQ(record.lpTemplateName, nullptr);
}

TEST_F(DialogRecordTest, EmptySettingsPassNoFilterTitleOrFolderButAnEmptyExtension) {
    DialogRecord request(*dialog);
    const OPENFILENAMEA& record = request.Record();
    EXPECT_EQ(record.lpstrFilter, nullptr);
    EXPECT_EQ(record.lpstrInitialDir, nullptr);
    EXPECT_EQ(record.lpstrTitle, nullptr);
    ASSERT_NE(record.lpstrDefExt, nullptr);
    EXPECT_STREQ(record.lpstrDefExt, "");
    EXPECT_EQ(record.nFilterIndex, 0u);
}

TEST_F(DialogRecordTest, FilterEndingWithABarGivesAnEmptyLastEntry) {
    dialog->Filter = "PLAY LIST|*.qpl|";
    DialogRecord request(*dialog);
    EXPECT_EQ(std::string(request.Record().lpstrFilter, 18), "PLAY LIST\0*.qpl\0\0\0"s);
}

TEST_F(DialogRecordTest, NameBufferHoldsThePreviousNameAndIsSizedByMultiSelect) {
    const struct {
        std::uint32_t Options;
        DWORD Size;
    } cases[] = {{0, SingleNameBufferSize}, {DialogOptionAllowMultiSelect, MultiNameBufferSize}};
    for (const auto& c : cases) {
        dialog->Options = c.Options;
        dialog->FileName = "/music/a.mp3";
        DialogRecord request(*dialog);
        EXPECT_EQ(request.Record().nMaxFile, c.Size);
        ASSERT_EQ(request.NameBuffer().size(), c.Size);
        EXPECT_EQ(request.Record().lpstrFile, request.NameBuffer().data());
        EXPECT_STREQ(request.Record().lpstrFile, "/music/a.mp3");
        EXPECT_EQ(request.NameBuffer().back(), '\0');
    }
}

TEST_F(DialogRecordTest, PreviousNameThatWouldFillTheBufferIsNotOffered) {
    const struct {
        std::size_t Length;
        std::size_t Offered;
    } cases[] = {
        {SingleNameBufferSize - 1, SingleNameBufferSize - 1},
        {SingleNameBufferSize, 0},
        {SingleNameBufferSize + 100, 0},
    };
    for (const auto& c : cases) {
        dialog->FileName.assign(c.Length, 'n');
        DialogRecord request(*dialog);
        EXPECT_EQ(std::strlen(request.Record().lpstrFile), c.Offered) << c.Length;
    }
}

TEST_F(DialogRecordTest, SuccessfulRunCarriesNameAndFilterPairToTheNextRun) {
    dialog->Filter = "MP3|*.mp3|WAVE|*.wav";
    DialogRecord first(*dialog);
    Answer(first, "/music/b.wav\0"s, 2);
    first.TakeResult(true, *dialog);
    EXPECT_EQ(dialog->FileName, "/music/b.wav");
    EXPECT_EQ(dialog->FilterIndex, 2);

    DialogRecord second(*dialog);
    EXPECT_EQ(second.Record().nFilterIndex, 2u);
    EXPECT_STREQ(second.Record().lpstrFile, "/music/b.wav");
}

TEST_F(DialogRecordTest, FailedRunClearsTheNameAndKeepsTheFilterPair) {
    dialog->FileName = "/music/a.mp3";
    dialog->FilterIndex = 2;
    DialogRecord first(*dialog);
    Answer(first, "/music/other.mp3\0"s, 1);
    first.TakeResult(false, *dialog);
    EXPECT_EQ(dialog->FileName, "");
    EXPECT_EQ(dialog->FilterIndex, 2);

    DialogRecord second(*dialog);
    EXPECT_STREQ(second.Record().lpstrFile, "");
}

TEST_F(DialogRecordTest, SeveralChosenNamesAreSeparatedByCarriageReturns) {
    const struct {
        std::string Returned;
        std::string FileName;
    } cases[] = {
        {"/music\0a.mp3\0b.wav\0\0"s, "/music\ra.mp3\rb.wav"},
        {"/music/a.mp3\0\0"s, "/music/a.mp3"},
    };
    for (const auto& c : cases) {
        dialog->Options = DialogOptionAllowMultiSelect;
        DialogRecord request(*dialog);
        Answer(request, c.Returned, 1);
        request.TakeResult(true, *dialog);
        EXPECT_EQ(dialog->FileName, c.FileName);
    }
}

TEST_F(DialogRecordTest, ResultReadingStopsAtTheBufferEnd) {
    // A platform that filled the whole buffer without its NULs.
    for (const std::uint32_t options : {0u, DialogOptionAllowMultiSelect}) {
        dialog->Options = options;
        DialogRecord request(*dialog);
        OPENFILENAMEA& record = request.Record();
        std::memset(record.lpstrFile, 'x', record.nMaxFile);
        request.TakeResult(true, *dialog);
        EXPECT_EQ(dialog->FileName, std::string(record.nMaxFile, 'x'));
    }
}

} // namespace
