#include "config_values.h"
#include "errors.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace tarmel::test {
namespace {

using config::Colour;
using config::FontStyle;

TEST(ConfigValues, WholeNumbersAsTheSettingsWriteThem)
{
    struct Case {
        const char* text;
        std::optional<std::int32_t> number;
    };
    const Case cases[] = {
        {"12632256", 12632256},
        {"   42", 42},
        {"-5", -5},
        {"+7", 7},
        {"007", 7},
        {"$C0C0C0", 0xC0C0C0},
        {"$c0c0c0", 0xC0C0C0},
        {"  -$10", -16},
        {"$FFFFFFFF", -1},
        {"$80000000", INT32_MIN},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        // Not numbers: the start-up stops at such a row.
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"$100000000", std::nullopt},
        {"12 ", std::nullopt},
        {"1 2", std::nullopt},
        {"- 5", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"$", std::nullopt},
        {"-", std::nullopt},
        {"0x10", std::nullopt},
        {"$G0", std::nullopt},
        {"12.0", std::nullopt},
        {"1e3", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(config::parseInteger(c.text), c.number) << "«" << c.text << "»";
}

TEST(ConfigValues, ColoursAreBlueGreenRedOrADesktopColour)
{
    struct Case {
        std::int32_t value;
        Colour colour;
    };
    const Case cases[] = {
        {0xC0C0C0, {false, 0, 0xC0, 0xC0, 0xC0}},
        {0x0000FF, {false, 0, 0xFF, 0x00, 0x00}},
        {0xFF0000, {false, 0, 0x00, 0x00, 0xFF}},
        {0xF0CAA6, {false, 0, 0xA6, 0xCA, 0xF0}},
        {0, {false, 0, 0, 0, 0}},
        // The byte above blue is not part of the colour.
        {0x01000080, {false, 0, 0x80, 0x00, 0x00}},
        // Negative: the lowest byte names the desktop colour.
        {static_cast<std::int32_t>(0xFF00000F), {true, 15, 0, 0, 0}},
        {static_cast<std::int32_t>(0x80000005), {true, 5, 0, 0, 0}},
        {-1, {true, 255, 0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(config::colourOf(c.value), c.colour) << c.value;
}

TEST(ConfigValues, StylesMatchInAnyLetterCaseAndNoOtherForm)
{
    struct Case {
        const char* text;
        std::optional<FontStyle> style;
    };
    const Case cases[] = {
        {"[]", FontStyle{false, false}},
        {"[fsItalic]", FontStyle{false, true}},
        {"[fsBold]", FontStyle{true, false}},
        {"[FSBOLD]", FontStyle{true, false}},
        {"[fsBold,fsItalic]", FontStyle{true, true}},
        {"[FsBoLd,fSiTaLiC]", FontStyle{true, true}},
        {"[fsBold, fsItalic]", std::nullopt},
        {"[fsItalic,fsBold]", std::nullopt},
        {"[fsBold] ", std::nullopt},
        {"fsBold", std::nullopt},
        {"[fsUnderline]", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(config::styleOf(c.text), c.style) << "«" << c.text << "»";
}

// Rows are lines of the file: blank lines count, the value is what follows
// the first "=", and a line without "=" is its own value.
TEST(ConfigValues, RowsAreReadByPositionFromTheFile)
{
    TempFolder folder;
    folder.write("Config.ini", "[Tarmel]\r\n\r\nShake=no\r\nSize= 12\r\n$FF\r\nStyle=[fsBold]=x\r\n"
                               "Style=[FSITALIC]\r\n");
    ConfigFile file;
    file.load();
    EXPECT_TRUE(config::shakeSwitchedOff(file));
    EXPECT_EQ(config::integerRow(file, 4), 12);
    EXPECT_EQ(config::integerRow(file, 5), 255);
    EXPECT_EQ(config::styleRow(file, 6), std::nullopt); // "[fsBold]=x"
    EXPECT_EQ(config::styleRow(file, 7), (FontStyle{false, true}));
    EXPECT_THROW(config::integerRow(file, 2), Error);
    EXPECT_THROW(config::integerRow(file, 8), Error); // past the last line
}

TEST(ConfigValues, ABadNumberIsReportedWithItsRowAndValue)
{
    ConfigFile file;
    file.setLines({"a", "b", "c", "d", "e", "f", w("ColorForm=12 ")});
    try {
        config::colourRow(file, 7);
        FAIL() << "no error";
    } catch (const Error& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("Config.ini"), std::string::npos) << message;
        EXPECT_NE(message.find("строка 7"), std::string::npos) << message;
        EXPECT_NE(message.find("«12 »"), std::string::npos) << message;
    }
    // An empty file reads every row as empty text: the first number fails.
    EXPECT_THROW(config::colourRow(ConfigFile{}, 7), Error);
}

TEST(ConfigValues, ShakeIsOffOnlyForNoInAnyCase)
{
    struct Case {
        std::vector<std::string> lines;
        bool off;
    };
    const Case cases[] = {
        {{"a", "b", "Shake=NO"}, true},
        {{"a", "b", "Shake=nO"}, true},
        {{"a", "b", "NO"}, true},
        {{"a", "b", "Shake=NO "}, false},
        {{"a", "b", "Shake=YES"}, false},
        {{"a", "b", "Shake="}, false},
        {{}, false}, // no Config.ini loaded: the shake runs
    };
    for (const auto& c : cases) {
        ConfigFile file;
        file.setLines(c.lines);
        EXPECT_EQ(config::shakeSwitchedOff(file), c.off) << (c.lines.empty() ? "" : c.lines[2]);
    }
    ConfigFile shortFile;
    shortFile.setLines({"a", "b"});
    EXPECT_THROW(config::shakeSwitchedOff(shortFile), Error);
}

} // namespace
} // namespace tarmel::test

namespace tarmel::test {
namespace {

// The editor's OK rewrites the "Adres" line and keeps every other line.
TEST(ConfigFileWrite, AdresLineIsReplacedAddedOrDeleted)
{
    struct Case {
        const char* name;
        std::string before;
        std::string path;
        std::string after;
    };
    const Case cases[] = {
        {"replaced, key in any case", "[T]\r\nA=1=2\r\nADRES=old\r\nLast\r\n", "/tmp/x.dat",
         "[T]\r\nA=1=2\r\nAdres=/tmp/x.dat\r\nLast\r\n"},
        {"only the first one", "adres=a\nAdres=b\n", "D:\\Txt.Dat",
         "Adres=D:\\Txt.Dat\r\nAdres=b\r\n"},
        {"added as the last line", "[T]\r\nShake=NO\r\n", "D:\\Txt.Dat",
         "[T]\r\nShake=NO\r\nAdres=D:\\Txt.Dat\r\n"},
        {"empty path deletes, later lines move up", "[T]\r\nAdres=old\r\nNext=1\r\n", "",
         "[T]\r\nNext=1\r\n"},
        {"empty path, no line: rewritten as it was", "[T]\nB=2\n", "", "[T]\r\nB=2\r\n"},
        {"a key with a blank is another key", "Adres =x\r\n", "y", "Adres =x\r\nAdres=y\r\n"},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        folder.write("Config.ini", c.before);
        ConfigFile file;
        file.load();
        file.writeAdres(c.path);
        EXPECT_EQ(readFileBytes("Config.ini", "Config.ini"), c.after) << c.name;
    }
}

TEST(ConfigFileWrite, AFailedWriteIsReportedAndTheLinesKeepTheChange)
{
    TempFolder folder;
    ConfigFile file;
    file.setLines({"[T]", "Adres=old"});
    std::filesystem::create_directory("Config.ini");
    EXPECT_THROW(file.writeAdres("new"), Error);
    EXPECT_EQ(file.lines(), (Lines{"[T]", "Adres=new"}));
}

} // namespace
} // namespace tarmel::test
