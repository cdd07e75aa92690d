#include "app/CommandArgument.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(CommandArgumentTest, ReadsArgumentsOfARawCommandLine) {
    const struct {
        std::string Line;
        std::uint32_t N;
        std::string Argument;
    } cases[] = {
        {"kestrin /ih", 1, "/ih"},
        {"kestrin", 1, ""},
        {"kestrin   ", 1, ""},
        {"", 1, ""},
        {"kestrin /IH", 1, "/IH"},
        {"kestrin a /ih", 1, "a"},
        {"kestrin a /ih", 2, "/ih"},
        {"kestrin a /ih", 3, ""},
        // Quotes enclosing the whole argument are removed; blanks inside them belong to it.
        {"kestrin \"/ih\"", 1, "/ih"},
        {"kestrin \"a b\" c", 1, "a b"},
        {"kestrin \"a b\" c", 2, "c"},
        {"\"C:\\Program Files\\kestrin.exe\" /ih", 1, "/ih"},
        // Quotes elsewhere stay, and a quoted part joins what touches it.
        {"kestrin a\"b c\"d e", 1, "a\"b c\"d"},
        {"kestrin a\"b c\"d e", 2, "e"},
        {"kestrin \"a\"b", 1, "\"a\"b"},
        {"kestrin \"", 1, "\""},
        {"kestrin \"open", 1, "\"open"},
        // An empty pair of quotes is a separator, not an argument.
        {"kestrin \"\" /ih", 1, "/ih"},
        {"kestrin \"\"\"\" x", 1, "x"},
        {"kestrin \"\"", 1, ""},
        // Control characters and blanks separate; bytes above 127 do not.
        {"kestrin\t\r\n/ih", 1, "/ih"},
        {"kestrin \x01\x1F x", 1, "x"},
        {"kestrin \xD1\xE4 x", 1, "\xD1\xE4"},
        // A zero byte ends the line.
        {"kestrin\0/ih"s, 1, ""},
        // Argument 0 is the program as written first.
        {"  kestrin /ih", 0, "kestrin"},
        {"\"/opt/my player/kestrin\" /ih", 0, "/opt/my player/kestrin"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ArgumentOfCommandLine(c.Line, c.N), c.Argument)
            << "line \"" << c.Line << "\", argument " << c.N;
    }
}

TEST(CommandArgumentTest, ArgumentZeroIsTheProgramFile) {
    const std::string path = CommandArgument(0);
    ASSERT_FALSE(path.empty());
    EXPECT_NE(path.find("app_tests"), std::string::npos) << path;
}

} // namespace
