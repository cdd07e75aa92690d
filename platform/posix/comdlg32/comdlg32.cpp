// GetOpenFileNameA, GetSaveFileNameA and CommDlgExtendedError: the record is checked, the
// start folder and name are worked out, the dialog runs (or the test driver's scripted answer
// is taken at once), and the choice is written back into the record.

#include "platform/posix/comdlg32/comdlg_dialog.h"
#include "platform/posix/comdlg32/comdlg_result.h"
#include "platform/posix/testing/call_recorder.h"
#include "platform/posix/testing/driver_hooks.h"
#include "platform/win32.h"

#include <cstring>
#include <optional>
#include <string>

namespace {

using namespace posix::comdlg;

DWORD extendedError = 0;

void ClearExtendedError() {
    extendedError = 0;
}

BOOL Fail(DWORD error) {
    extendedError = error;
    return FALSE;
}

bool KnownSize(DWORD size) {
    return size == sizeof(OPENFILENAMEA) || size == OPENFILENAME_SIZE_VERSION_400A;
}

// 1-based in the record, 0 (or out of range) meaning the first pair.
std::size_t FirstFilter(DWORD filterIndex, std::size_t pairs) {
    return filterIndex >= 1 && filterIndex <= pairs ? filterIndex - 1 : 0;
}

// The text the caller left in lpstrFile, never read past nMaxFile.
std::string StartText(const OPENFILENAMEA& ofn) {
    return std::string(ofn.lpstrFile, strnlen(ofn.lpstrFile, ofn.nMaxFile));
}

std::string InitialFolder(const OPENFILENAMEA& ofn) {
    const std::string current = CurrentFolder();
    if (ofn.lpstrInitialDir != nullptr && *ofn.lpstrInitialDir != '\0') {
        const std::string initial = JoinPath(current, ofn.lpstrInitialDir);
        if (IsFolder(initial)) {
            return initial;
        }
    }
    return current;
}

// A start name with a folder in it opens in that folder (showing the bare name); otherwise
// the dialog opens in the initial directory, or in the current one.
void PlaceStart(const OPENFILENAMEA& ofn, DialogSetup& setup) {
    const std::string folder = InitialFolder(ofn);
    const std::string text = StartText(ofn);
    setup.Folder = folder;
    setup.FileName = text;
    if (text.find('/') == std::string::npos) {
        return;
    }
    const std::string path = JoinPath(folder, text);
    if (IsFolder(path)) {
        setup.Folder = path;
        setup.FileName.clear();
    } else if (IsFolder(ParentOf(path))) {
        setup.Folder = ParentOf(path);
        setup.FileName = NameOf(path);
    }
}

DialogSetup SetUp(const OPENFILENAMEA& ofn, bool openDialog) {
    DialogSetup setup;
    setup.Owner = ofn.hwndOwner;
    setup.Title = ofn.lpstrTitle != nullptr ? ofn.lpstrTitle : openDialog ? "Open" : "Save As";
    setup.Filters = ParseFilter(ofn.lpstrFilter);
    setup.FilterIndex = FirstFilter(ofn.nFilterIndex, setup.Filters.size());
    setup.OpenDialog = openDialog;
    setup.Multiple = openDialog && (ofn.Flags & OFN_ALLOWMULTISELECT) != 0;
    setup.Flags = ofn.Flags;
    setup.DefaultExtension = ofn.lpstrDefExt;
    PlaceStart(ofn, setup);
    return setup;
}

// Recorded as shown: the title, a line break, then the filter list with its NULs.
void Record(const char* function, const OPENFILENAMEA& ofn, const DialogSetup& setup) {
    posix::RecordCall(testdriver::ApiFamily::Dialogs, function,
                      {reinterpret_cast<std::uintptr_t>(ofn.hwndOwner), ofn.Flags, ofn.nFilterIndex,
                       ofn.nMaxFile},
                      setup.Title + "\n" +
                          std::string(ofn.lpstrFilter != nullptr ? ofn.lpstrFilter : "",
                                      FilterLength(ofn.lpstrFilter)));
}

// A scripted path stands for a name typed and accepted: it must name files that pass the
// checks of the flags (a confirmation to overwrite counts as given), or the dialog answers as
// if cancelled after refusing it.
DialogOutcome ScriptedOutcome(const posix::FileDialogAnswer& answer, const DialogSetup& setup) {
    DialogOutcome outcome;
    outcome.FilterIndex = setup.FilterIndex;
    if (answer.Cancelled) {
        return outcome;
    }
    const TypedChoice choice =
        InterpretTyped(answer.Path, setup.Folder, setup.Multiple, setup.DefaultExtension);
    if (choice.What == TypedChoice::Kind::Select &&
        CheckSelection(choice.Chosen, setup.Flags, setup.OpenDialog).Why == Refusal::Kind::None) {
        outcome.Accepted = true;
        outcome.Chosen = choice.Chosen;
    }
    return outcome;
}

BOOL RunFileDialog(const char* function, LPOPENFILENAMEA ofn, bool openDialog) {
    posix::AddResetHandler(&ClearExtendedError);
    ClearExtendedError();
    if (ofn == nullptr || !KnownSize(ofn->lStructSize)) {
        return Fail(CDERR_STRUCTSIZE);
    }
    if (ofn->lpstrFile == nullptr) {
        return Fail(CDERR_INITIALIZATION);
    }
    if (ofn->hwndOwner != nullptr && !IsWindow(ofn->hwndOwner)) {
        return Fail(CDERR_DIALOGFAILURE);
    }
    const DialogSetup setup = SetUp(*ofn, openDialog);
    Record(function, *ofn, setup);
    const std::optional<posix::FileDialogAnswer> scripted = posix::TakeFileDialogAnswer();
    const DialogOutcome outcome =
        scripted ? ScriptedOutcome(*scripted, setup) : posix::comdlg::RunFileDialog(setup);
    if (outcome.Failed) {
        return Fail(CDERR_DIALOGFAILURE);
    }
    if (!outcome.Accepted) {
        return FALSE;
    }
    if (!WriteSelection(*ofn, outcome.Chosen, setup.Multiple)) {
        return Fail(FNERR_BUFFERTOOSMALL);
    }
    if (!setup.Filters.empty()) {
        ofn->nFilterIndex = static_cast<DWORD>(outcome.FilterIndex + 1);
    }
    return TRUE;
}

} // namespace

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA ofn) {
    return RunFileDialog("GetOpenFileNameA", ofn, true);
}

BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA ofn) {
    return RunFileDialog("GetSaveFileNameA", ofn, false);
}

DWORD WINAPI CommDlgExtendedError() {
    return extendedError;
}
