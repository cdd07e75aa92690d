#include "app/TClassMainForm_8B54EB0.h"

#include <cstdint>

#include "core/TData.h"
#include "core/TZu_Event.h"
#include "elements/TZuButton.h"
#include "elements/TZuHub.h"
#include "elements/TZuLabel.h"
#include "elements/TZuListBox.h"
#include "elements/TZuMainForm.h"
#include "elements/TZuMath.h"
#include "elements/TZuMathParse.h"
#include "elements/TZuMediaPlayer.h"
#include "elements/TZuODialog.h"
#include "elements/TZuSDialog.h"
#include "elements/TZuTimer.h"
#include "elements/TZuWinList.h"
#include "platform/win32.h"
#include "toolkit/Navigation.h"
#include "toolkit/TControl.h"

namespace {

// Captions in the Windows-1251 code page.
constexpr char DurationCaption[] = "\xF2\xF0\xE0\xE5\xED\xE5:";      // "траене:"
constexpr char PositionCaption[] = "\xEF\xEE\xE7\xE8\xF6\xE8\xFF:";  // "позиция:"
constexpr char OpenTitle[] = "\xCE\xD2\xC2\xC0\xD0\xDF\xCD\xC5";     // "ОТВАРЯНЕ"
constexpr char SaveTitle[] = "\xC7\xC0\xCF\xC8\xD1\xC2\xC0\xCD\xC5"; // "ЗАПИСВАНЕ"

constexpr char MediaFilter[] = "MP3|*.mp3|WAVE|*.wav";
constexpr char PlaylistFilter[] = "PLAY LIST|*.qpl";

constexpr std::uint32_t ButtonFaceColor = 0xFF00000F;
constexpr std::uint32_t WindowColor = 0xFF000005;

// The resource type of the playlist's initial items.
constexpr WORD InitialItemsType = 100;

struct Bounds {
    std::int32_t Left, Top, Width, Height;
};

// What every windowed element of the player shares: its place and the font.
void Place(TZuWin& element, Bounds bounds) {
    element.Left = bounds.Left;
    element.Top = bounds.Top;
    element.Width = bounds.Width;
    element.Height = bounds.Height;
    element.Font = MakeFontRec("MS Sans Serif", 8, 0, 0, 1);
    element.ParentFont = false;
    element.Hint.clear();
    element.Align = 0;
}

void ConfigureLabel(TZuLabel& label, Bounds bounds, const char* caption) {
    Place(label, bounds);
    label.Color = ButtonFaceColor;
    label.Visible = true;
    label.Transparent = false;
    label.SetAutoSize(true);
    label.SetAlignment(0);
    label.HoverColor = 0;
    label.HoverCursor = nullptr;
    label.HoverUnderline = false;
    label.Caption = caption;
    label.Init();
}

void ConfigureButton(TZuButton& button, Bounds bounds, HCURSOR cursor, TData data,
                     const char* caption) {
    Place(button, bounds);
    button.TabOrder = 0;
    button.Visible = true;
    button.Enabled = true;
    button.FlatStyle = false;
    button.Cursor = cursor;
    button.Data = std::move(data);
    button.SetCaption(caption);
    button.Init();
}

void ConfigureExpression(TZuMathParse& expression, const char* text) {
    expression.SetArgCount(1);
    expression.SetExpression(text);
    expression.SetResultType(0);
    expression.SetDefault(0.0);
    expression.SetAngleMode(false);
}

// Seconds from milliseconds: Op1 divided by the default divisor, as an integer.
void ConfigureSeconds(TZuMath& math) {
    math.DefaultOp1 = 0.0;
    math.DefaultOp2 = 1000.0;
    math.ResultType = 0;
    math.SetDefault(0.0);
}

void ConfigureDialog(TZuFileDialog& dialog, const char* filter, const char* title) {
    dialog.Filter = filter;
    dialog.Title = title;
    dialog.StartDir.clear();
}

void BindHub(TZuHub& hub, std::initializer_list<TZu_Event> outputs) {
    hub.SetOutCount(static_cast<std::uint16_t>(outputs.size()));
    std::size_t index = 0;
    for (const TZu_Event& output : outputs) {
        hub.OnEvent[index++] = output;
    }
}

template <class Element> void Destroy(Element*& element) {
    delete element;
    element = nullptr;
}

} // namespace

std::string InitialPlaylistText() {
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(module, "", MAKEINTRESOURCEA(InitialItemsType));
    if (found == nullptr) {
        return {};
    }
    const HGLOBAL loaded = LoadResource(module, found);
    const auto* text = static_cast<const char*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (text == nullptr) {
        return {};
    }
    return std::string(text, SizeofResource(module, found));
}

TClassMainForm_8B54EB0::TClassMainForm_8B54EB0() {
    // A failure part way leaves no element behind, and is passed on.
    try {
        Build();
    } catch (...) {
        DestroyElements();
        throw;
    }
}

TClassMainForm_8B54EB0::~TClassMainForm_8B54EB0() {
    DestroyElements();
}

void TClassMainForm_8B54EB0::Build() {
    MainForm = new TZuMainForm(nullptr);
    ConfigureMainForm();
    CreateElements();
    ConfigureElements();
    MainForm->Control->NavigationHook = HandleNavigationKey;
}

void TClassMainForm_8B54EB0::ConfigureMainForm() {
    TZuMainForm& form = *MainForm;
    Place(form, {193, 304, 335, 147});
    form.Color = ButtonFaceColor;
    form.AlphaBlend = 255;
    form.SetCaption("Kestrin Media Player");
    form.SetBorderStyle(3);
    form.WindowState = 0;
    form.SetIcon(LoadIconA(GetModuleHandleA(nullptr), "ICON0"));
    form.HideFromTaskbar(0);
    form.DragAnywhere = true;
    form.Visible = true;
    form.Cursor = nullptr;
    form.ShowCloseHook = {[](void*, std::uint8_t) {}, &form};
    form.InitHook = {[](void*) {}, &form};
    form.Init();
}

// The list element as the class that declares its operations, so links call them on it.
TZuWinList* TClassMainForm_8B54EB0::Playlist() const {
    return PlayList;
}

// Field order, windowed elements on the main form's control.
void TClassMainForm_8B54EB0::CreateElements() {
    TControl* parent = MainForm->Control;
    DurationSecondsExpr = new TZuMathParse();
    DurationSecondsLabel = new TZuLabel(parent);
    ClearListButton = new TZuButton(parent);
    AddFileDialog = new TZuODialog();
    SaveListButton = new TZuButton(parent);
    SelectHub = new TZuHub();
    MediaPlayer = new TZuMediaPlayer();
    PositionColonLabel = new TZuLabel(parent);
    OpenListDialog = new TZuODialog();
    AddFileButton = new TZuButton(parent);
    OpenListButton = new TZuButton(parent);
    PlayList = new TZuListBox(parent);
    StopHub = new TZuHub();
    ClearHub = new TZuHub();
    PositionSecondsLabel = new TZuLabel(parent);
    PositionCaptionLabel = new TZuLabel(parent);
    PositionMinutesLabel = new TZuLabel(parent);
    DurationMath = new TZuMath();
    PauseButton = new TZuButton(parent);
    DurationCaptionLabel = new TZuLabel(parent);
    StopButton = new TZuButton(parent);
    DurationHub = new TZuHub();
    DurationColonLabel = new TZuLabel(parent);
    PositionMath = new TZuMath();
    PositionTimer = new TZuTimer();
    PositionHub = new TZuHub();
    DurationMinutesLabel = new TZuLabel(parent);
    PositionSecondsExpr = new TZuMathParse();
    PositionMinutesExpr = new TZuMathParse();
    DurationMinutesExpr = new TZuMathParse();
    SaveListDialog = new TZuSDialog();
}

// From the last field back to the second: properties, Init for windowed elements, then the
// element's own outputs and data points. The comments number the links.
void TClassMainForm_8B54EB0::ConfigureElements() {
    ConfigureDialog(*SaveListDialog, PlaylistFilter, SaveTitle);
    SaveListDialog->OnExecute = MakeEvent<&TZuWinList::Save>(Playlist(), 5); // 1

    ConfigureExpression(*DurationMinutesExpr, "%1 div 60");
    DurationMinutesExpr->OnResult = MakeEvent<&TZuLabel::SetText>(DurationMinutesLabel, 0); // 2

    ConfigureExpression(*PositionMinutesExpr, "%1 div 60");
    PositionMinutesExpr->OnResult = MakeEvent<&TZuLabel::SetText>(PositionMinutesLabel, 0); // 3

    ConfigureExpression(*PositionSecondsExpr, "%1 mod 60");
    PositionSecondsExpr->OnResult = MakeEvent<&TZuLabel::SetText>(PositionSecondsLabel, 0); // 4

    ConfigureLabel(*DurationMinutesLabel, {40, 0, 15, 15}, "0");

    BindHub(*PositionHub, {MakeEvent<&TZuMathParse::Calc>(PositionMinutesExpr, 0),   // 5
                           MakeEvent<&TZuMathParse::Calc>(PositionSecondsExpr, 0)}); // 6

    PositionTimer->SetInterval(1000);
    PositionTimer->SetEnabled(true);
    PositionTimer->SetStopAfter(0);
    PositionTimer->OnTimer = MakeEvent<&TZuMath::Calc>(PositionMath, 0); // 7

    ConfigureSeconds(*PositionMath);
    PositionMath->OnResult = MakeEvent<&TZuHub::Pass>(PositionHub, 0);        // 8
    PositionMath->Op1 = MakeEvent<&TZuMediaPlayer::Position>(MediaPlayer, 0); // 27

    ConfigureLabel(*DurationColonLabel, {55, 0, 5, 15}, ":");

    BindHub(*DurationHub, {MakeEvent<&TZuMathParse::Calc>(DurationMinutesExpr, 0),   // 9
                           MakeEvent<&TZuMathParse::Calc>(DurationSecondsExpr, 0)}); // 10

    ConfigureButton(*StopButton, {75, 100, 20, 20}, nullptr, TData{}, "[]");
    StopButton->OnClick = MakeEvent<&TZuHub::Pass>(StopHub, 0); // 11

    ConfigureLabel(*DurationCaptionLabel, {0, 0, 40, 15}, DurationCaption);

    ConfigureButton(*PauseButton, {95, 100, 20, 20}, nullptr, TData{}, "||");
    PauseButton->OnClick = MakeEvent<&TZuMediaPlayer::Pause>(MediaPlayer, 2); // 12

    ConfigureSeconds(*DurationMath);
    DurationMath->OnResult = MakeEvent<&TZuHub::Pass>(DurationHub, 0);      // 13
    DurationMath->Op1 = MakeEvent<&TZuMediaPlayer::Length>(MediaPlayer, 1); // 28

    ConfigureLabel(*PositionMinutesLabel, {40, 15, 15, 15}, "0");
    ConfigureLabel(*PositionCaptionLabel, {0, 15, 40, 15}, PositionCaption);
    ConfigureLabel(*PositionSecondsLabel, {60, 15, 15, 15}, "0");

    BindHub(*ClearHub, {MakeEvent<&TZuHub::Pass>(StopHub, 1),           // 14
                        MakeEvent<&TZuWinList::Clear>(Playlist(), 1)}); // 15

    BindHub(*StopHub, {MakeEvent<&TZuMediaPlayer::Stop>(MediaPlayer, 1)}); // 16

    Place(*PlayList, {75, 0, 250, 100});
    PlayList->TabOrder = 0;
    PlayList->Color = WindowColor;
    PlayList->Flat = false;
    PlayList->Visible = true;
    PlayList->Enabled = true;
    PlayList->Cursor = nullptr;
    PlayList->Transparent = false;
    PlayList->DefaultFileName.clear();
    PlayList->InsertAtTop = true;
    PlayList->SelectAdded = false;
    PlayList->SelectOutput = 0;
    PlayList->Sort = false;
    PlayList->MultiSelect = false;
    PlayList->Strings = InitialPlaylistText();
    PlayList->Init();
    PlayList->OnSelect = MakeEvent<&TZuHub::Pass>(SelectHub, 0); // 17

    ConfigureButton(*OpenListButton, {7, 63, 50, 20}, nullptr, MakeReal(0.0), "Open list");
    OpenListButton->OnClick = MakeEvent<&TZuODialog::Execute>(OpenListDialog, 0); // 18

    ConfigureButton(*AddFileButton, {115, 100, 20, 20}, nullptr, MakeReal(0.0), "^");
    AddFileButton->OnClick = MakeEvent<&TZuODialog::Execute>(AddFileDialog, 0); // 19

    ConfigureDialog(*OpenListDialog, PlaylistFilter, OpenTitle);
    OpenListDialog->RunDialog = OpenListDialog->OwnDialogRoutine();
    OpenListDialog->OnExecute = MakeEvent<&TZuWinList::Load>(Playlist(), 4); // 20

    ConfigureLabel(*PositionColonLabel, {55, 15, 5, 15}, ":");

    MediaPlayer->DefaultFileName.clear();
    MediaPlayer->SetDisplayMode(0);
    MediaPlayer->FileName = MakeEvent<&TZuWinList::CurrentItem>(Playlist(), 3); // 29

    BindHub(*SelectHub, {MakeEvent<&TZuMediaPlayer::Play>(MediaPlayer, 0), // 21
                         MakeEvent<&TZuMath::Calc>(DurationMath, 0)});     // 22

    ConfigureButton(*SaveListButton, {7, 84, 50, 20}, nullptr, TData{}, "Save list");
    SaveListButton->OnClick = MakeEvent<&TZuSDialog::Execute>(SaveListDialog, 0); // 23

    ConfigureDialog(*AddFileDialog, MediaFilter, OpenTitle);
    AddFileDialog->RunDialog = AddFileDialog->OwnDialogRoutine();
    AddFileDialog->OnExecute = MakeEvent<&TZuWinList::Add>(Playlist(), 0); // 24

    // This button's cursor value is the handle 1 the form has always carried.
    ConfigureButton(*ClearListButton, {7, 42, 50, 20}, reinterpret_cast<HCURSOR>(1), TData{},
                    "Clear list");
    ClearListButton->OnClick = MakeEvent<&TZuHub::Pass>(ClearHub, 0); // 25

    ConfigureLabel(*DurationSecondsLabel, {60, 0, 15, 15}, "0");

    ConfigureExpression(*DurationSecondsExpr, "%1 mod 60");
    DurationSecondsExpr->OnResult = MakeEvent<&TZuLabel::SetText>(DurationSecondsLabel, 0); // 26
}

// Field order from the second field to the last, then the main form.
void TClassMainForm_8B54EB0::DestroyElements() {
    Destroy(DurationSecondsExpr);
    Destroy(DurationSecondsLabel);
    Destroy(ClearListButton);
    Destroy(AddFileDialog);
    Destroy(SaveListButton);
    Destroy(SelectHub);
    Destroy(MediaPlayer);
    Destroy(PositionColonLabel);
    Destroy(OpenListDialog);
    Destroy(AddFileButton);
    Destroy(OpenListButton);
    Destroy(PlayList);
    Destroy(StopHub);
    Destroy(ClearHub);
    Destroy(PositionSecondsLabel);
    Destroy(PositionCaptionLabel);
    Destroy(PositionMinutesLabel);
    Destroy(DurationMath);
    Destroy(PauseButton);
    Destroy(DurationCaptionLabel);
    Destroy(StopButton);
    Destroy(DurationHub);
    Destroy(DurationColonLabel);
    Destroy(PositionMath);
    Destroy(PositionTimer);
    Destroy(PositionHub);
    Destroy(DurationMinutesLabel);
    Destroy(PositionSecondsExpr);
    Destroy(PositionMinutesExpr);
    Destroy(DurationMinutesExpr);
    Destroy(SaveListDialog);
    Destroy(MainForm);
}
