#include "platform/posix/testing/call_recorder.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

std::set<testdriver::ApiFamily> families;
std::vector<HWND> chosenWindows;
std::vector<testdriver::ApiCall> calls;

} // namespace

namespace posix {

void RecordCall(testdriver::ApiFamily family, const char* function,
                std::initializer_list<std::uintptr_t> values, std::string text) {
    if (families.count(family) == 0) {
        return;
    }
    // Message calls name their window first.
    if (family == testdriver::ApiFamily::Messages && !chosenWindows.empty() &&
        (values.size() == 0 ||
         std::find(chosenWindows.begin(), chosenWindows.end(),
                   reinterpret_cast<HWND>(*values.begin())) == chosenWindows.end())) {
        return;
    }
    calls.push_back({family, function, values, std::move(text)});
}

void ResetRecording() {
    families.clear();
    chosenWindows.clear();
    calls.clear();
}

} // namespace posix

namespace testdriver {

void Record(ApiFamily family) {
    families.insert(family);
}

void RecordMessagesTo(HWND window) {
    families.insert(ApiFamily::Messages);
    chosenWindows.push_back(window);
}

std::vector<ApiCall> RecordedCalls() {
    return calls;
}

void ClearRecordedCalls() {
    calls.clear();
}

std::string Describe(const ApiCall& call) {
    std::string text = call.Function + "(";
    for (std::size_t i = 0; i < call.Values.size(); ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%s0x%llx", i == 0 ? "" : ", ",
                      static_cast<unsigned long long>(call.Values[i]));
        text += number;
    }
    if (!call.Text.empty()) {
        text += (call.Values.empty() ? "\"" : ", \"") + call.Text + "\"";
    }
    return text + ")";
}

} // namespace testdriver
