#pragma once

#include <string>

class TZuButton;
class TZuHub;
class TZuLabel;
class TZuListBox;
class TZuMainForm;
class TZuMath;
class TZuMathParse;
class TZuMediaPlayer;
class TZuODialog;
class TZuSDialog;
class TZuTimer;
class TZuWinList;

// The player: its 32 elements, their properties and the links between them. The constructor
// builds the whole graph with links still off; the destructor takes it down in field order,
// the main form last. The rest of the program reaches the player only through MainForm.
class TClassMainForm_8B54EB0 {
public:
    TClassMainForm_8B54EB0();
    ~TClassMainForm_8B54EB0();
    TClassMainForm_8B54EB0(const TClassMainForm_8B54EB0&) = delete;
    TClassMainForm_8B54EB0& operator=(const TClassMainForm_8B54EB0&) = delete;

    // The fields, in the order that fixes creation and destruction.
    TZuMainForm* MainForm = nullptr;
    TZuMathParse* DurationSecondsExpr = nullptr;
    TZuLabel* DurationSecondsLabel = nullptr;
    TZuButton* ClearListButton = nullptr;
    TZuODialog* AddFileDialog = nullptr;
    TZuButton* SaveListButton = nullptr;
    TZuHub* SelectHub = nullptr;
    TZuMediaPlayer* MediaPlayer = nullptr;
    TZuLabel* PositionColonLabel = nullptr;
    TZuODialog* OpenListDialog = nullptr;
    TZuButton* AddFileButton = nullptr;
    TZuButton* OpenListButton = nullptr;
    TZuListBox* PlayList = nullptr;
    TZuHub* StopHub = nullptr;
    TZuHub* ClearHub = nullptr;
    TZuLabel* PositionSecondsLabel = nullptr;
    TZuLabel* PositionCaptionLabel = nullptr;
    TZuLabel* PositionMinutesLabel = nullptr;
    TZuMath* DurationMath = nullptr;
    TZuButton* PauseButton = nullptr;
    TZuLabel* DurationCaptionLabel = nullptr;
    TZuButton* StopButton = nullptr;
    TZuHub* DurationHub = nullptr;
    TZuLabel* DurationColonLabel = nullptr;
    TZuMath* PositionMath = nullptr;
    TZuTimer* PositionTimer = nullptr;
    TZuHub* PositionHub = nullptr;
    TZuLabel* DurationMinutesLabel = nullptr;
    TZuMathParse* PositionSecondsExpr = nullptr;
    TZuMathParse* PositionMinutesExpr = nullptr;
    TZuMathParse* DurationMinutesExpr = nullptr;
    TZuSDialog* SaveListDialog = nullptr;

private:
    void Build();
    void CreateElements();
    void ConfigureMainForm();
    void ConfigureElements();
    void DestroyElements();
    TZuWinList* Playlist() const;
};

// The text of the program's resource of type 100 named by the empty text: the playlist's
// initial items. Empty when there is no such resource.
std::string InitialPlaylistText();
