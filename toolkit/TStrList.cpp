#include "toolkit/TStrList.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>

#include "toolkit/FileIO.h"

namespace {

constexpr char CR = 13;
constexpr char LF = 10;

// The longest text the block can take: its size, the terminating zero included, is a
// 32-bit signed number.
constexpr std::size_t MaxTextSize = std::numeric_limits<std::int32_t>::max() - 1;

std::string_view UpToFirstZero(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// Where the line starting at `line` ends: at its CR, or at the end of the text.
char* LineEnd(char* line, char* end) {
    return std::find(line, end, CR);
}

// Where the next line starts after a line that ended at lineEnd: past the CR and one LF
// directly after it.
char* NextLine(char* lineEnd, char* end) {
    if (lineEnd == end) {
        return end;
    }
    char* next = lineEnd + 1;
    return next != end && *next == LF ? next + 1 : next;
}

} // namespace

TStrList* CreateStrList() {
    return TStrList::Created(new TStrList);
}

TStrList::~TStrList() {
    Clear();
}

bool TStrList::IsInTextBlock(const char* line) const {
    // std::less orders pointers into different allocations too.
    const std::less<const char*> before;
    const char* start = textBlock.get();
    return start != nullptr && !before(line, start) && before(line, start + textBlockSize);
}

const char* TStrList::Line(std::int32_t index) const {
    return lines != nullptr ? static_cast<const char*>(lines->Get(index)) : nullptr;
}

void TStrList::Insert(std::int32_t index, std::string_view text) {
    if (index < 0 || index > Count()) {
        return;
    }
    if (lines == nullptr) {
        lines = CreateList();
    }
    text = UpToFirstZero(text);
    auto copy = std::make_unique<char[]>(text.size() + 1);
    std::copy(text.begin(), text.end(), copy.get());
    if (lines->Insert(index, copy.get())) {
        copy.release();
    }
}

std::int32_t TStrList::Add(std::string_view text) {
    const std::int32_t index = Count();
    Insert(index, text);
    return Count() > index ? index : -1;
}

std::string TStrList::Item(std::int32_t index) const {
    const char* line = Line(index);
    return line != nullptr ? std::string(line) : std::string();
}

void TStrList::Delete(std::int32_t index) {
    const char* line = Line(index);
    if (line == nullptr) {
        return;
    }
    if (!IsInTextBlock(line)) {
        delete[] line;
    }
    lines->Delete(index);
}

void TStrList::Clear() {
    for (std::int32_t index = Count() - 1; index >= 0; --index) {
        Delete(index);
    }
    Free(lines);
    lines = nullptr;
    textBlock.reset();
    textBlockSize = 0;
}

void TStrList::SetAllText(std::string_view text, bool append) {
    if (!append) {
        Clear();
    }
    text = UpToFirstZero(text);
    if (text.empty() || text.size() > MaxTextSize - static_cast<std::size_t>(textBlockSize)) {
        return;
    }
    const std::int32_t start = textBlockSize;
    AppendToTextBlock(text);
    if (lines == nullptr) {
        lines = CreateList();
    }
    SplitLines(start);
}

void TStrList::AppendToTextBlock(std::string_view text) {
    const std::size_t oldSize = static_cast<std::size_t>(textBlockSize);
    const std::size_t newSize = oldSize + text.size() + 1;
    auto block = std::make_unique_for_overwrite<char[]>(newSize);
    std::copy_n(textBlock.get(), oldSize, block.get());
    // Lines inside the old block keep their offsets in the new one.
    for (std::int32_t index = 0; index < Count(); ++index) {
        void*& slot = lines->Items()[index];
        const char* line = static_cast<const char*>(slot);
        if (IsInTextBlock(line)) {
            slot = block.get() + (line - textBlock.get());
        }
    }
    std::copy(text.begin(), text.end(), block.get() + oldSize);
    block[newSize - 1] = '\0';
    textBlock = std::move(block);
    textBlockSize = static_cast<std::int32_t>(newSize);
}

// Splits the block from start up to its final zero: counts the lines first so the slot
// array grows once, then stores each line, ending it in place by overwriting its CR.
void TStrList::SplitLines(std::int32_t start) {
    char* const begin = textBlock.get() + start;
    char* const end = textBlock.get() + textBlockSize - 1;

    std::int64_t counted = 0;
    for (char* line = begin; line != end; line = NextLine(LineEnd(line, end), end)) {
        ++counted;
    }
    const std::int64_t needed =
        std::min<std::int64_t>(lines->Count() + counted, std::numeric_limits<std::int32_t>::max());
    if (lines->Capacity() < needed) {
        lines->SetCapacity(static_cast<std::int32_t>(needed));
    }

    for (char* line = begin; line != end;) {
        char* lineEnd = LineEnd(line, end);
        if (!lines->Add(line)) {
            return;
        }
        char* next = NextLine(lineEnd, end);
        if (lineEnd != end) {
            *lineEnd = '\0';
        }
        line = next;
    }
}

std::string TStrList::AllText() const {
    std::size_t total = 0;
    for (std::int32_t index = 0; index < Count(); ++index) {
        total += std::strlen(Line(index)) + 2;
    }
    std::string text;
    text.reserve(total);
    for (std::int32_t index = 0; index < Count(); ++index) {
        text.append(Line(index));
        text.append({CR, LF});
    }
    return text;
}

bool TStrList::SaveLines(const char* path) const {
    return ReplaceFileContents(path, AllText());
}

bool TStrList::LoadLines(const char* path) {
    std::optional<std::string> content = ReadWholeFile(path, MaxTextSize);
    if (!content) {
        return false;
    }
    SetAllText(*content, false);
    return true;
}
