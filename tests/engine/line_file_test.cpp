#include "errors.h"
#include "line_file.h"
#include "line_list.h"
#include "paths.h"
#include "test_support.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tarmel::test {
namespace {

TEST(LineFile, SavedLinesReadBackExactly)
{
    std::string allBytes;
    for (int round = 0; round < 3; ++round) {
        for (int b = 1; b < 256; ++b) // every byte but NUL, in many neighbourhoods
            allBytes += static_cast<char>((b * (round * 2 + 1)) & 0xFF);
    }
    const std::vector<Lines> cases = {
        {},
        {""},
        {"", ""},
        wLines({"Привет!", "ЗАГОЛОВОК^Таблица;", "ёЁ №"}),
        {"braces { } and \\ backslash", "tab\there", "\\par not a paragraph"},
        {"last line empty", ""},
        {std::string("\x01\x1f\x7f\x80\xff", 5)},
        {allBytes, allBytes + "tail", "{" + allBytes},
        {std::string(10 * 1024 * 1024, '\xE0')}, // a 10 MB line is never cut short
    };
    for (const auto& lines : cases) {
        const std::string rtf = rtfDocument(lines);
        ASSERT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
        EXPECT_EQ(parseLines(rtf), lines) << rtf.substr(0, 200);
    }
}

// Other programs read the files the program writes: strict RTF with every
// byte from 0x80 on and every control character escaped as \'hh. (Lines of
// 16 bytes and more are escaped many bytes at a time where the processor
// allows, shorter ones and the rest of a line one byte at a time.)
TEST(LineFile, WrittenDocumentKeepsItsBytes)
{
    TempFolder folder;
    const Lines lines = {w("Ёж^{x}\\;"), std::string("\t\x7f\x80", 3), "",
                         w("Привет {мир} \\ и все!\tДа, ёЁ.")};
    const std::string expected =
        "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fnil\\fcharset204 MS Sans "
        "Serif;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs16 \\'a8\\'e6^\\{x\\}\\\\;\\par\r\n"
        "\\'09\x7f\\'80\\par\r\n\\par\r\n"
        "\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 \\{\\'ec\\'e8\\'f0\\} \\\\ \\'e8 \\'e2\\'f1\\'e5!\\'09\\'c4"
        "\\'e0, \\'b8\\'a8.\\par\r\n}\r\n";
    EXPECT_EQ(rtfDocument(lines), expected);
    writeLineFile("Words.Dat", lines);
    EXPECT_EQ(readFileBytes("Words.Dat", "Words.Dat"), expected);
}

TEST(LineFile, PlainTextLines)
{
    struct Case {
        std::string text;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"\r\n", {""}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"x\n\n", {"x", ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseLines(c.text), c.lines) << c.text;
}

TEST(LineFile, RtfWrittenByOtherProgramsReadsAsParagraphs)
{
    struct Case {
        std::string rtf;
        Lines lines;
    };
    const Case cases[] = {
        {"{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fswiss "
         "Arial;}}{\\colortbl;\\red0\\green0\\blue0;}"
         "\\pard\\f0\\fs20 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\par\r\nsecond line\\par\r\n}",
         wLines({"Привет", "second line"})},
        {"{\\rtf1 one\\par two}", {"one", "two"}},
        {"{\\rtf1\\uc1 \\u1055?\\u1088?\\u1080?}", wLines({"При"})},
        {"{\\rtf1{\\*\\generator Writer;}text\\~here\\tab end\\par}", {"text\xA0here\tend"}},
        {"{\\rtf1 {\\b bold} plain\\line next}", {"bold plain", "next"}},
        {"{\\rtf1 \\{x\\} \\\\}", {"{x} \\"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseLines(c.rtf), c.lines) << c.rtf;
}

TEST(LineFile, BrokenRtfIsReadAsPlainText)
{
    struct Case {
        std::string content;
        Lines lines;
    };
    const Case cases[] = {
        {"{\\rtf1 never closed\r\nsecond", {"{\\rtf1 never closed", "second"}},
        {"{\\rtf1 \\", {"{\\rtf1 \\"}},
        {"{\\rtf", {"{\\rtf"}},
        {"{\\rtf1 \\'", {"{\\rtf1 \\'"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseLines(c.content), c.lines) << c.content;

    // Whatever the bytes, reading returns without crash or hang.
    std::string garbage;
    unsigned state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245 + 12345;
        garbage += static_cast<char>(state >> 24);
    }
    parseLines(garbage);
    parseLines("{\\rtf1" + garbage);
    parseLines("{\\rtf1 \\bin999999999 x}");
}

TEST(LineFile, ResolverFindsNamesWithoutRegardToCase)
{
    TempFolder folder;
    folder.write("Base/Words.Dat", "x");
    EXPECT_EQ(resolvePath("Base\\Words.Dat"), std::filesystem::path("Base/Words.Dat"));
    EXPECT_EQ(resolvePath("base\\words.dat"), std::filesystem::path("Base/Words.Dat"));
    EXPECT_EQ(resolvePath("BASE/WORDS.DAT"), std::filesystem::path("Base/Words.Dat"));
    // A name that does not exist yet keeps its spelling.
    EXPECT_EQ(resolvePath("base\\New.Dat"), std::filesystem::path("Base/New.Dat"));
    EXPECT_EQ(resolvePath("/tmp/some.dat"), std::filesystem::path("/tmp/some.dat"));

    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    ::setenv("HOME", folder.path().c_str(), 1);
    EXPECT_EQ(resolvePath("D:\\Txt.Dat"), folder.path() / "Txt.Dat");
    EXPECT_EQ(resolvePath("d:\\base\\words.dat"), folder.path() / "Base/Words.Dat");
    ::setenv("HOME", savedHome.c_str(), 1);
}

TEST(LineFile, MissingFileIsAnErrorNamingIt)
{
    TempFolder folder;
    try {
        readLineFile("Base\\W1.Dat");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("Base\\W1.Dat"), std::string::npos) << e.what();
    }
    std::filesystem::create_directory("Folder.Dat");
    EXPECT_THROW(readLineFile("Folder.Dat"), Error);
}

// A full disk: the file-size limit makes every write past it fail.
TEST(LineFile, FailedSaveKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    TempFolder folder;
    folder.write("Base/W1.Dat", "old\r\n");
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    try {
        writeLineFile("Base\\W1.Dat", Lines(100, std::string(100, 'x')));
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("Base\\W1.Dat"), std::string::npos) << e.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(folder.readLines("Base/W1.Dat"), std::vector<std::string>{"old"});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("Base"),
                            std::filesystem::directory_iterator()),
              1);
}

// A writer killed at any moment leaves the old file or the new one.
TEST(LineFile, KilledSaveLeavesOldOrNewFile)
{
    TempFolder folder;
    const Lines a(2000, std::string(200, 'a'));
    const Lines b(3000, std::string(150, '\xE1'));
    writeLineFile("Table.Dat", a);
    for (int round = 0; round < 25; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i)
                writeLineFile("Table.Dat", i % 2 ? a : b);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(300 + round * 397 % 5000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const Lines read = readLineFile("Table.Dat");
        EXPECT_TRUE(read == a || read == b) << "round " << round << ": " << read.size() << " lines";
    }
}

TEST(LineFile, StoreSeesEditsMadeByOtherPrograms)
{
    TempFolder folder;
    folder.writeLines("Base/Words.Dat", {"Х^;", "ПЕРВАЯ^а;"});
    LineFileStore store;
    LineList list;
    store.load(list, "Base\\Words.Dat");
    EXPECT_EQ(list.line(1), w("ПЕРВАЯ^а;"));

    // Same size, written by hand between two loads.
    folder.writeLines("Base/Words.Dat", {"Х^;", "ВТОРАЯ^а;"});
    store.load(list, "Base\\Words.Dat");
    EXPECT_EQ(list.line(1), w("ВТОРАЯ^а;"));

    // What the program saved itself is what it reads next.
    list.append("NEW^b;");
    store.save(list, "Base\\Words.Dat");
    LineList again;
    store.load(again, "Base\\Words.Dat");
    EXPECT_EQ(again.lines(), list.lines());
    EXPECT_EQ(again.line(99), "");
}

} // namespace
} // namespace tarmel::test
