#pragma once

// The fixture of the list box element's tests: a form, the player's playlist on it with probes
// on its outputs, and a scratch directory for list files.

#include <filesystem>
#include <string>
#include <vector>

#include "core/TData.h"
#include "core/TZu_Event.h"
#include "elements/TZuListBox.h"
#include "tests/elements/LinkProbe.h"
#include "tests/elements/WindowElementTest.h"
#include "tests/support/ScratchDir.h"

using Items = std::vector<std::string>;

class TZuListBoxTest : public WindowElementTest {
protected:
    void SetUp() override {
        WindowElementTest::SetUp();
        MakeForm();
    }

    // The player's playlist.
    TZuListBox& MakeList() {
        TZuListBox& list = Make<TZuListBox>(form);
        list.Left = 75;
        list.Top = 0;
        list.Width = 250;
        list.Height = 100;
        list.Color = 0xFF000005;
        list.Flat = false;
        list.InsertAtTop = true;
        list.Font = MakeFontRec("MS Sans Serif", 8, 0, 0, 1);
        list.OnChange = changes.Point();
        list.OnSelect = selections.Point();
        return list;
    }

    TZuListBox& MakeInitialisedList() {
        TZuListBox& list = MakeList();
        list.Init();
        ShowWindows();
        return list;
    }

    Items ItemsOf(TZuListBox& list) { return readback::ListItems(list.Control->Handle); }

    void Add(TZuListBox& list, const std::string& item) {
        Send(MakeEvent<&TZuWinList::Add>(&list, 0), MakeString(item));
    }
    void Load(TZuListBox& list, const std::filesystem::path& path) {
        Send(MakeEvent<&TZuWinList::Load>(&list, 0), MakeString(path.string()));
    }
    void Save(TZuListBox& list, const std::filesystem::path& path) {
        Send(MakeEvent<&TZuWinList::Save>(&list, 0), MakeString(path.string()));
    }
    // Reads a data point of the list as another element would.
    TData Read(TZu_Event point) {
        TData value;
        Dispatch(point, value);
        return value;
    }

    Probe changes;
    Probe selections;
    ScratchDir scratch;
};
