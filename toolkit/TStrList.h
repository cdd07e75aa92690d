#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "toolkit/TList.h"
#include "toolkit/TObj.h"

// A list of byte strings with a text form: every line followed by CR LF on writing; CR or
// CR LF ends a line on reading. This is the playlist file format.
//
// A line added by Insert or Add has an allocation of its own. Lines that came in through
// SetAllText live in one shared TextBlock, each terminated in place; a line's kind is told
// by whether it points into that block. A line holds any byte but zero.
class TStrList : public TObj {
public:
    // One slot per line, pointing at the line's zero-terminated bytes; null until needed.
    const TList* Lines() const { return lines; }
    std::int32_t Count() const { return lines != nullptr ? lines->Count() : 0; }
    const char* TextBlock() const { return textBlock.get(); }
    std::int32_t TextBlockSize() const { return textBlockSize; }

    // Inserts a copy of text (up to its first zero byte) before position index,
    // 0 <= index <= Count; other indices are ignored.
    void Insert(std::int32_t index, std::string_view text);
    // The new line's index.
    std::int32_t Add(std::string_view text);
    // A copy of the line; empty when index is out of range.
    std::string Item(std::int32_t index) const;
    void Delete(std::int32_t index);
    void Clear();

    // Splits text into lines, after the present ones when append is true. A zero byte ends
    // the text.
    void SetAllText(std::string_view text, bool append);
    void SetAllText(std::string_view text) { SetAllText(text, false); }
    std::string AllText() const;

    // Replaces the file at path with AllText. The old file stays as it was unless every
    // byte reached the disk; a file reached through a symbolic link is replaced at the
    // link's target, keeping its permissions; a device is written in place.
    bool SaveLines(const char* path) const;
    // Replaces the lines with the file's; on any failure the list stays as it was.
    bool LoadLines(const char* path);

    friend TStrList* CreateStrList();

protected:
    TStrList() = default;
    ~TStrList() override;

private:
    bool IsInTextBlock(const char* line) const;
    const char* Line(std::int32_t index) const;
    void AppendToTextBlock(std::string_view text);
    void SplitLines(std::int32_t start);

    TList* lines = nullptr;
    std::unique_ptr<char[]> textBlock;
    std::int32_t textBlockSize = 0;
};

TStrList* CreateStrList();
