// Whole conversation turns on an arbitrary table and arbitrary phrases.
//
// The input is a table and phrases: up to the first NUL byte the lines of
// Words.Dat (lines that break the grammar are dropped, so the table starts
// well-formed), after it one phrase per line. Each phrase is said in a turn
// with learning; after every turn each table line from 1 on must still follow
// the grammar.
//
//   turn_fuzzer -max_total_time=60 fuzz/corpus/turn

#include "conversation.h"
#include "errors.h"
#include "headless.h"
#include "line_file.h"
#include "random.h"
#include "table_search.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

using namespace tarmel;

// Chance taken from the input's bytes, so a run is reproducible.
class ByteRandom : public Random {
public:
    explicit ByteRandom(std::string_view bytes) : bytes_(bytes) {}
    int draw(int n) override
    {
        if (n <= 0 || bytes_.empty())
            return 0;
        const auto byte = static_cast<unsigned char>(bytes_[next_++ % bytes_.size()]);
        return byte % n;
    }
    void reseed() override {}

private:
    std::string_view bytes_;
    std::size_t next_ = 0;
};

void enterWorkFolder()
{
    static bool entered = false;
    if (entered)
        return;
    std::string folder = (std::filesystem::temp_directory_path() / "tarmel-fuzz-XXXXXX").string();
    if (!::mkdtemp(folder.data()))
        std::abort();
    std::filesystem::current_path(folder);
    std::filesystem::create_directories("Base");
    entered = true;
}

void checkTable()
{
    const Lines table = readLineFile("Base/Words.Dat");
    for (std::size_t i = 1; i < table.size(); ++i) {
        if (!IsWellFormedTableLine(table[i]))
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    enterWorkFolder();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string_view tableText = input.substr(0, split);
    const std::string_view phraseText =
        split == std::string_view::npos ? std::string_view{} : input.substr(split + 1);

    Lines table{"HEADER^x;"};
    for (std::string& line : parsePlainLines(tableText)) {
        if (IsWellFormedTableLine(line))
            table.push_back(std::move(line));
    }
    writeLineFile("Base/Words.Dat", table);
    const Lines replies{"Reply one?", "Reply two."};
    for (const char* name : {"Base/W1.Dat", "Base/W2.Dat", "Base/X.Dat", "Base/Povtor.Dat",
                             "Base/BigString.Dat", "Base/CPUpvt.dat", "Base/AI.dat"})
        writePlainFile(name, replies);
    writePlainFile("Base/Collection.Dat", {});

    ByteRandom random(input);
    StillClock clock;
    HeadlessHost host;
    Conversation conversation(host, random, clock);
    int turns = 0;
    for (std::string phrase : parsePlainLines(phraseText)) {
        if (++turns > 16)
            break;
        if (phrase.size() > 255)
            phrase.resize(255);
        host.input = phrase;
        try {
            conversation.RunTurn();
        } catch (const Error&) {
            __builtin_trap(); // every file exists: no turn may fail
        }
        checkTable();
    }
    return 0;
}
