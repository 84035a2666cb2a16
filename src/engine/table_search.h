#pragma once

// Searching the main table for a line whose key occurs in the user's phrase.
//
// All matching rests on one character-scanning rule (FragmentMatch). The
// whole-key and key-words searches have two implementations with identical
// results: a plain scan over the table in line order, and an index built once
// per parsed table that only verifies the lines whose key (or one of whose
// key words) occurs somewhere in the phrase.

#include "line_file.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarmel {

// Looks for the fragment in a phrase that is already upper-cased, from
// position start (1 = the first character). A character that breaks a partial
// match is not tried again as the fragment's first character, so "ДУРА" is not
// found in "ДДУРА". On success completedAt is the position of the character
// that completed the fragment.
bool FragmentMatch(std::string_view upperPhrase, std::string_view fragment, std::size_t start,
                   std::size_t* completedAt = nullptr);

// True when a table line (line 1 on) follows the grammar: depth marks, a
// non-empty key without "^" that does not end in a blank, "^", answer slots
// each closed by ";" (an answer text without ";" and "|", optionally "|" and
// a follow-up without ";"), and an optional final "@".
bool IsWellFormedTableLine(std::string_view line);

// True when matching may choose the line: it is well-formed and offers at
// least one answer slot. Broken lines are simply never matched.
bool IsMatchableTableLine(std::string_view line);

// The words of a key as the key-words search cuts them: a word starts with
// any character and runs up to the next blank or the key's end; one blank
// between words is skipped, so a second blank starts the next word.
std::vector<std::string_view> KeyWordsOf(std::string_view fullKey);

// True when every word of the full key is found in order, each search
// starting after the character that completed the previous word.
bool KeyWordsMatch(std::string_view upperPhrase, std::string_view fullKey);

// Plain scans in table order: the first matchable line i >= 1 whose full key
// (whole-key search) or whose key words (key-words search) are found; 0 when
// none is.
std::size_t ScanWholeKey(const Lines& table, std::string_view upperPhrase);
std::size_t ScanKeyWords(const Lines& table, std::string_view upperPhrase);

// An index over one parsed table. It keeps views into the table's lines, so
// the table must outlive it and stay unchanged.
class TableIndex {
public:
    explicit TableIndex(const Lines& table);

    // Same results as ScanWholeKey / ScanKeyWords on the indexed table.
    std::size_t wholeKey(std::string_view upperPhrase) const;
    std::size_t keyWords(std::string_view upperPhrase) const;

private:
    // Fragments that have to occur in the phrase for a line to be a
    // candidate, looked up by their first few characters.
    class FragmentSet {
    public:
        void add(std::string_view fragment, std::uint32_t line);
        // Appends the lines of every fragment that occurs in the phrase.
        void collect(std::string_view phrase, std::vector<std::uint32_t>& lines) const;

    private:
        static constexpr std::size_t kHead = 4;
        struct Entry {
            std::string_view fragment;
            std::uint32_t line;
        };
        std::unordered_map<std::string_view, std::vector<Entry>> byHead_;
    };

    const Lines& table_;
    FragmentSet fullKeys_; // first line of each distinct full key
    FragmentSet keyWords_; // every line, under the longest word of its key
};

// The table searches of reply selection. The index of a table is built when
// the same parsed table is searched a second time, so a table that changes at
// every turn (a learning conversation) is scanned plainly and one that stays
// the same is indexed once. The index is tied to the identity of the parsed
// lines the file cache hands out, so any change of the file, by this program
// or by another one, is seen.
class TableSearch {
public:
    std::size_t wholeKey(const std::shared_ptr<const Lines>& table, std::string_view upperPhrase);
    std::size_t keyWords(const std::shared_ptr<const Lines>& table, std::string_view upperPhrase);

private:
    // The index for this table, or nullptr while a plain scan is cheaper.
    const TableIndex* indexFor(const std::shared_ptr<const Lines>& table);

    std::weak_ptr<const Lines> table_;
    int searches_ = 0;
    std::unique_ptr<TableIndex> index_;
};

} // namespace tarmel
