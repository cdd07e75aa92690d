// Drives a string list with arbitrary commands and texts and compares it with a plain
// vector of lines after every step. Each command is: an operation byte, a length or
// position byte, then for text operations that many bytes of text.
//
// Checked: the lines and their count match the model, no line holds CR or zero, and the
// text form read back gives the same lines.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/TStrList.h"

namespace {

using Lines = std::vector<std::string>;

struct FreeObject {
    void operator()(TObj* object) const { Free(object); }
};
using StrListPtr = std::unique_ptr<TStrList, FreeObject>;

[[noreturn]] void Fail(const char* what, std::size_t index) {
    std::fprintf(stderr, "%s (line %zu)\n", what, index);
    std::abort();
}

// The reading rules written the simple way: the text ends at a zero byte, CR or CR LF
// ends a line, and the last line needs no terminator.
Lines SplitLikeAFile(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    Lines lines;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t cr = text.find('\r', position);
        if (cr == std::string_view::npos) {
            lines.emplace_back(text.substr(position));
            break;
        }
        lines.emplace_back(text.substr(position, cr - position));
        position = cr + 1;
        if (position < text.size() && text[position] == '\n') {
            ++position;
        }
    }
    return lines;
}

// Inserted texts are kept free of CR so that every line survives the text form; zero
// bytes stay in, and the list must cut the line at the first.
std::string WithoutCr(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\r') {
            c = '\n';
        }
    }
    return line;
}

void CheckMatches(const TStrList& list, const Lines& model) {
    if (list.Count() < 0 || static_cast<std::size_t>(list.Count()) != model.size()) {
        Fail("count differs from the model", model.size());
    }
    for (std::size_t index = 0; index < model.size(); ++index) {
        const std::string line = list.Item(static_cast<std::int32_t>(index));
        if (line != model[index]) {
            Fail("line differs from the model", index);
        }
        if (line.find_first_of(std::string_view("\r\0", 2)) != std::string::npos) {
            Fail("line holds CR or zero", index);
        }
    }
}

void CheckTextForm(const TStrList& list, const Lines& model) {
    const std::string text = list.AllText();
    std::size_t expectedSize = 0;
    for (const std::string& line : model) {
        expectedSize += line.size() + 2;
    }
    if (text.size() != expectedSize) {
        Fail("text form has the wrong size", model.size());
    }
    StrListPtr reread(CreateStrList());
    reread->SetAllText(text);
    CheckMatches(*reread, model);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    StrListPtr list(CreateStrList());
    Lines model;
    while (input.size() >= 2) {
        const unsigned operation = static_cast<unsigned char>(input[0]) % 4;
        const std::size_t argument = static_cast<unsigned char>(input[1]);
        input.remove_prefix(2);
        const std::string_view text = input.substr(0, argument);
        const std::int32_t count = list->Count();
        switch (operation) {
        case 0:
        case 1: {
            const bool append = operation == 1;
            list->SetAllText(text, append);
            Lines added = SplitLikeAFile(text);
            if (!append) {
                model.clear();
            }
            model.insert(model.end(), added.begin(), added.end());
            input.remove_prefix(text.size());
            break;
        }
        case 2: {
            const std::int32_t index = static_cast<std::int32_t>(argument) % (count + 1);
            const std::string line = WithoutCr(text);
            list->Insert(index, line);
            model.insert(model.begin() + index, line.substr(0, line.find('\0')));
            input.remove_prefix(text.size());
            break;
        }
        default: {
            // Some indices fall outside the list on purpose; those must change nothing.
            const std::int32_t index = static_cast<std::int32_t>(argument) - 4;
            list->Delete(index);
            if (index >= 0 && index < count) {
                model.erase(model.begin() + index);
            }
            break;
        }
        }
        CheckMatches(*list, model);
    }
    CheckTextForm(*list, model);
    return 0;
}
