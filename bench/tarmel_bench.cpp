// Timing of conversation turns and line files over generated phrase bases.
//
//   tarmel-bench [--benchmark_format=json] [Google Benchmark options]
//
// TableTurn/<lines>, BranchTurn/<lines> and LearningTurn/<lines> run whole
// turns on a table of that many lines as shipped (plain text); the same names
// with "/rtf" appended run on the table as learning leaves it (RTF). Bases are
// written by scripts/make_bench_base.py into a temporary folder.
// TARMEL_BENCH_TABLE (a table file) and TARMEL_BENCH_PHRASES (one phrase per
// line, Windows-1251) replace the generated table and phrases.

#include "conversation.h"
#include "cp1251.h"
#include "headless.h"
#include "line_file.h"
#include "phrase_base.h"
#include "random.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarmel {
namespace {

namespace fs = std::filesystem;

// The generated base of one size, made once per run.
fs::path generatedBase(int lines)
{
    static std::map<int, fs::path> made;
    auto& folder = made[lines];
    if (folder.empty()) {
        folder = fs::temp_directory_path() / ("tarmel-bench-" + std::to_string(lines));
        fs::remove_all(folder);
        const std::string command =
            "python3 '" TARMEL_BASE_SCRIPT "' '" + folder.string() + "' " + std::to_string(lines);
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("cannot generate the base: " + command);
    }
    return folder;
}

// A fresh working copy of a base, the table as shipped or saved as RTF.
struct WorkFolder {
    WorkFolder(int lines, bool rtf)
    {
        const fs::path source = generatedBase(lines);
        path = fs::temp_directory_path() / ("tarmel-bench-work-" + std::to_string(lines));
        fs::remove_all(path);
        fs::copy(source, path, fs::copy_options::recursive);
        if (const char* table = std::getenv("TARMEL_BENCH_TABLE"))
            fs::copy_file(table, path / "Base" / "Words.Dat", fs::copy_options::overwrite_existing);
        previous = fs::current_path();
        fs::current_path(path);
        if (rtf)
            writeLineFile("Base/Words.Dat", readLineFile("Base/Words.Dat"));
        const char* phraseFile = std::getenv("TARMEL_BENCH_PHRASES");
        phrases =
            readLineFile(phraseFile ? std::string(phraseFile) : (path / "phrases.txt").string());
        if (phrases.empty())
            phrases.push_back(cp1251::fromUtf8("привет"));
    }
    ~WorkFolder()
    {
        fs::current_path(previous);
        fs::remove_all(path);
    }
    fs::path path;
    fs::path previous;
    Lines phrases;
};

struct Engine {
    ClockSeededRandom random;
    StillClock clock;
    HeadlessHost host;
    Conversation conversation{host, random, clock};

    void say(const std::string& phrase)
    {
        host.input = phrase;
        conversation.RunTurn();
    }
};

// The road and table line that answer the phrase in a fresh dialog state; the
// turn's search also fills the file cache and builds the table's index, as
// the turns before it would in a running program.
ReplyOutcome answerOf(Engine& engine, const std::string& phrase, int& line)
{
    DialogState& dialog = engine.conversation.state;
    dialog = DialogState{};
    dialog.UserPhrase = Conversation::NormalisePhrase(phrase);
    ReplyOutcome outcome = engine.conversation.SelectReply();
    line = dialog.BranchLine;
    dialog = DialogState{};
    return outcome;
}

void TableTurn(benchmark::State& state, int lines, bool rtf)
{
    WorkFolder folder(lines, rtf);
    Engine engine;
    // Every phrase must be answered by a main line; on the generated table by
    // one in its last tenth, so a plain scan would have to read nearly all of it.
    const bool generated = std::getenv("TARMEL_BENCH_TABLE") == nullptr;
    const Lines table = readLineFile("Base/Words.Dat");
    for (const std::string& phrase : folder.phrases) {
        int line = 0;
        const ReplyOutcome outcome = answerOf(engine, phrase, line);
        if (outcome.Road != ReplyRoad::Table || DepthOf(outcome.TableLine) != 0 ||
            (generated && static_cast<std::size_t>(line) * 10 < table.size() * 9)) {
            state.SkipWithError(("not answered by a main line near the end of the table: " +
                                 cp1251::toUtf8(phrase) + " -> line " + std::to_string(line))
                                    .c_str());
            return;
        }
    }
    std::size_t next = 0;
    for (auto _ : state) {
        engine.conversation.state.BranchDepth = 0;
        engine.conversation.state.PreviousUserPhrase.clear();
        engine.say(folder.phrases[next++ % folder.phrases.size()]);
    }
    state.SetItemsProcessed(state.iterations());
}

// The last main line of the table followed by a depth-1 line with answers.
bool findBranch(const Lines& table, int& mainLine, std::string& phrase)
{
    for (std::size_t i = table.size(); i-- > 2;) {
        const std::string& line = table[i];
        if (DepthOf(line) == 1 && HasAnswers(line) && DepthOf(table[i - 1]) == 0) {
            mainLine = static_cast<int>(i - 1);
            phrase = cp1251::lower(KeyOf(line));
            return true;
        }
    }
    return false;
}

void BranchTurn(benchmark::State& state, int lines, bool rtf)
{
    WorkFolder folder(lines, rtf);
    Engine engine;
    int mainLine = 0;
    std::string phrase;
    if (!findBranch(readLineFile("Base/Words.Dat"), mainLine, phrase)) {
        state.SkipWithError("the table has no branch line");
        return;
    }
    const auto branchTurn = [&] {
        engine.conversation.state.BranchDepth = 1;
        engine.conversation.state.BranchLine = mainLine;
        engine.conversation.state.PreviousUserPhrase.clear();
        engine.say(phrase);
    };
    branchTurn(); // reads the table once, as the turns before it would
    if (engine.conversation.state.BranchLine != mainLine + 1) {
        state.SkipWithError(("the branch line does not answer: " + cp1251::toUtf8(phrase)).c_str());
        return;
    }
    for (auto _ : state)
        branchTurn();
    state.SetItemsProcessed(state.iterations());
}

void LearningTurn(benchmark::State& state, int lines, bool rtf)
{
    WorkFolder folder(lines, rtf);
    Engine engine;
    // Previous replies that are keys of main lines, so an answer is attached.
    std::vector<std::string> replies;
    const Lines table = readLineFile("Base/Words.Dat");
    for (std::size_t i = 1; i < table.size() && replies.size() < 64; i += table.size() / 64 + 1) {
        if (DepthOf(table[i]) == 0)
            replies.push_back(cp1251::lower(FullKeyOf(table[i])));
    }
    if (replies.empty())
        replies.push_back("x");
    long turn = 0;
    const auto learningTurn = [&] {
        auto& dialog = engine.conversation.state;
        dialog.BranchDepth = 0;
        dialog.LastReply = replies[static_cast<std::size_t>(turn) % replies.size()];
        // Latin letters and digits match no key of the generated table (keys
        // are Cyrillic) and make the phrase new at every turn.
        engine.say("Zq novel phrase " + std::to_string(turn++) + " " + std::to_string(lines));
    };
    learningTurn(); // reads the table once, as the turns before it would
    const TableCounts before = CountTable(readLineFile("Base/Words.Dat"));
    for (auto _ : state)
        learningTurn();
    state.SetItemsProcessed(state.iterations());

    // Every turn must have written a new key and attached an answer.
    const TableCounts after = CountTable(readLineFile("Base/Words.Dat"));
    const auto turns = static_cast<long>(state.iterations());
    if (after.learned != before.learned + turns || after.answers != before.answers + turns)
        state.SkipWithError(("not every turn learned: " + std::to_string(turns) + " turns, " +
                             std::to_string(after.learned - before.learned) + " keys, " +
                             std::to_string(after.answers - before.answers) + " answers")
                                .c_str());
}

Lines fileLines()
{
    WorkFolder folder(10000, false);
    return readLineFile("Base/Words.Dat");
}

void ReadFile(benchmark::State& state, bool rtf)
{
    const Lines lines = fileLines();
    const std::string bytes = rtf ? rtfDocument(lines) : plainText(lines);
    for (auto _ : state)
        benchmark::DoNotOptimize(parseLines(bytes));
    state.SetBytesProcessed(state.iterations() * static_cast<long>(bytes.size()));
}

void WriteFile(benchmark::State& state, bool rtf)
{
    const Lines lines = fileLines();
    const fs::path path = fs::temp_directory_path() / "tarmel-bench-write.dat";
    long bytes = 0;
    for (auto _ : state) {
        // As the program saves: RTF a piece at a time, plain text at once.
        if (rtf) {
            bytes += static_cast<long>(writeRtfFile(path, lines, "bench"));
        } else {
            const std::string content = plainText(lines);
            writeFileAtomically(path, content, "bench");
            bytes += static_cast<long>(content.size());
        }
    }
    fs::remove(path);
    state.SetBytesProcessed(bytes);
}

void registerAll()
{
    for (const int lines : {1000, 10000, 100000}) {
        for (const bool rtf : {false, true}) {
            const std::string suffix = std::to_string(lines) + (rtf ? "/rtf" : "");
            benchmark::RegisterBenchmark(("TableTurn/" + suffix).c_str(), TableTurn, lines, rtf);
            benchmark::RegisterBenchmark(("BranchTurn/" + suffix).c_str(), BranchTurn, lines, rtf);
            benchmark::RegisterBenchmark(("LearningTurn/" + suffix).c_str(), LearningTurn, lines,
                                         rtf);
        }
    }
    benchmark::RegisterBenchmark("ReadPlain", ReadFile, false);
    benchmark::RegisterBenchmark("ReadRtf", ReadFile, true);
    benchmark::RegisterBenchmark("WritePlain", WriteFile, false);
    benchmark::RegisterBenchmark("WriteRtf", WriteFile, true);
}

} // namespace
} // namespace tarmel

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    tarmel::registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
