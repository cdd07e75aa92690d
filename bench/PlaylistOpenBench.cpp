#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/TZu_Event.h"
#include "elements/TZuListBox.h"
#include "platform/win32.h"
#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

namespace {

constexpr std::int32_t PlaylistLines = 100000;
constexpr UINT GetCount = 0x18B; // LB_GETCOUNT

// Writes a playlist of PlaylistLines paths of about 60 bytes each, ended by CR LF, as the
// player saves them.
void WritePlaylist(const std::filesystem::path& path) {
    std::ofstream out(path, std::ios::binary);
    for (std::int32_t i = 0; i < PlaylistLines; ++i) {
        out << "/home/listener/Music/Artist " << i % 400 << "/Album " << i % 37 << "/Track " << i
            << ".mp3\r\n";
    }
}

// Handles every queued message, painting included, as the message loop would between inputs.
void DrainMessages() {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// The player's list box on a shown form, and a playlist file beside it.
class ListOnForm {
public:
    ListOnForm() {
        std::random_device random;
        do {
            directory = std::filesystem::temp_directory_path() /
                        ("kestrin-bench-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(directory));
        WritePlaylist(File());
        app = MakeAppControl("Bench");
        MainControl = app;
        TControl* form = MakeFormControl(app, "Form");
        form->SetBoundsRect({193, 304, 528, 451});
        app->MakeWindow();
        list = new TZuListBox(form);
        list->Left = 75;
        list->Width = 250;
        list->Height = 100;
        list->InsertAtTop = true;
        list->Visible = true;
        list->Init();
        form->MakeWindow();
        DrainMessages();
    }
    ~ListOnForm() {
        delete list;
        MainControl = nullptr;
        Free(app);
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    }
    ListOnForm(const ListOnForm&) = delete;
    ListOnForm& operator=(const ListOnForm&) = delete;

    std::filesystem::path File() const { return directory / "list.qpl"; }
    TZuListBox& List() const { return *list; }
    LRESULT Count() const { return SendMessageA(list->Control->Handle, GetCount, 0, 0); }

private:
    std::filesystem::path directory;
    TControl* app = nullptr;
    TZuListBox* list = nullptr;
};

// Opening the playlist as the player's open-list dialog does, through the list's Load input,
// until the list box holds every line and has been repainted.
void BM_OpenPlaylistInListBox(benchmark::State& state) {
    DispatchOn();
    {
        ListOnForm fixture;
        const TZu_Event load = MakeEvent<&TZuWinList::Load>(&fixture.List(), 4);
        const std::string name = fixture.File().string();
        for (auto _ : state) {
            FireString(load, name);
            DrainMessages();
            state.PauseTiming();
            if (fixture.Count() != PlaylistLines) {
                state.SkipWithError("the list does not hold every line of the playlist");
                break;
            }
            state.ResumeTiming();
        }
    }
    DispatchOff();
}
BENCHMARK(BM_OpenPlaylistInListBox)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
