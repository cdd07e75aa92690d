#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include "toolkit/TStrList.h"

namespace {

constexpr std::int32_t PlaylistLines = 100000;

// A playlist of PlaylistLines paths of about 60 bytes each, every line ended by CR LF.
const std::string& PlaylistText() {
    static const std::string text = [] {
        std::string result;
        for (std::int32_t i = 0; i < PlaylistLines; ++i) {
            result += "/home/listener/Music/Artist " + std::to_string(i % 400) + "/Album " +
                      std::to_string(i % 37) + "/Track " + std::to_string(i) + ".mp3\r\n";
        }
        return result;
    }();
    return text;
}

// A string list for the length of one benchmark.
class ScopedStrList {
public:
    ScopedStrList() : list(CreateStrList()) {}
    ~ScopedStrList() { Free(list); }
    ScopedStrList(const ScopedStrList&) = delete;
    ScopedStrList& operator=(const ScopedStrList&) = delete;
    TStrList* operator->() const { return list; }

private:
    TStrList* list;
};

// A fresh directory under the system's temporary directory, removed with its contents.
class ScopedTempDir {
public:
    ScopedTempDir() {
        std::random_device random;
        do {
            path = std::filesystem::temp_directory_path() /
                   ("kestrin-bench-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(path));
    }
    ~ScopedTempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;
    std::string File(const char* name) const { return (path / name).string(); }

private:
    std::filesystem::path path;
};

void ReportPlaylistBytes(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(PlaylistText().size()));
}

void BM_StrListSetAllText(benchmark::State& state) {
    const std::string& text = PlaylistText();
    ScopedStrList list;
    for (auto _ : state) {
        list->SetAllText(text);
    }
    if (list->Count() != PlaylistLines) {
        state.SkipWithError("the text did not split into the expected lines");
    }
    ReportPlaylistBytes(state);
}
BENCHMARK(BM_StrListSetAllText)->Unit(benchmark::kMillisecond);

void BM_StrListAllText(benchmark::State& state) {
    ScopedStrList list;
    list->SetAllText(PlaylistText());
    std::string text;
    for (auto _ : state) {
        text = list->AllText();
        benchmark::DoNotOptimize(text.data());
    }
    if (text != PlaylistText()) {
        state.SkipWithError("the text form differs from the text the list was given");
    }
    ReportPlaylistBytes(state);
}
BENCHMARK(BM_StrListAllText)->Unit(benchmark::kMillisecond);

void BM_StrListSaveLines(benchmark::State& state) {
    ScopedTempDir dir;
    const std::string path = dir.File("playlist.m3u");
    ScopedStrList list;
    list->SetAllText(PlaylistText());
    for (auto _ : state) {
        if (!list->SaveLines(path.c_str())) {
            state.SkipWithError("saving failed");
            break;
        }
    }
    ReportPlaylistBytes(state);
}
BENCHMARK(BM_StrListSaveLines)->Unit(benchmark::kMillisecond);

// Loading a file that was just written, so it is in the page cache.
void BM_StrListLoadLines(benchmark::State& state) {
    ScopedTempDir dir;
    const std::string path = dir.File("playlist.m3u");
    ScopedStrList list;
    list->SetAllText(PlaylistText());
    if (!list->SaveLines(path.c_str())) {
        state.SkipWithError("saving the file to load failed");
        return;
    }
    list->Clear();
    for (auto _ : state) {
        if (!list->LoadLines(path.c_str())) {
            state.SkipWithError("loading failed");
            break;
        }
    }
    if (list->Count() != PlaylistLines) {
        state.SkipWithError("the file did not load into the expected lines");
    }
    ReportPlaylistBytes(state);
}
BENCHMARK(BM_StrListLoadLines)->Unit(benchmark::kMillisecond);

} // namespace
