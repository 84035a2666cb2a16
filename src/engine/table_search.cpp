#include "table_search.h"

#include "phrase_base.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace tarmel {

bool FragmentMatch(std::string_view upperPhrase, std::string_view fragment, std::size_t start,
                   std::size_t* completedAt)
{
    if (fragment.empty() || start == 0)
        return false;
    std::size_t matched = 0;
    for (std::size_t i = start; i <= upperPhrase.size(); ++i) {
        if (upperPhrase[i - 1] == fragment[matched]) {
            if (++matched == fragment.size()) {
                if (completedAt)
                    *completedAt = i;
                return true;
            }
        } else {
            matched = 0;
        }
    }
    return false;
}

namespace {

// Checks the answer slots and the optional leaving marker after the "^" that
// ends the key; counts the slots.
bool AnswersWellFormed(std::string_view answers, std::size_t& slots)
{
    slots = 0;
    std::size_t i = 0;
    const std::size_t size = answers.size();
    while (i < size) {
        if (answers[i] == '@' && i + 1 == size)
            return true;
        // Answer text: no ";" and no "|".
        while (i < size && answers[i] != ';' && answers[i] != '|')
            ++i;
        if (i < size && answers[i] == '|') {
            // Follow-up text: no ";".
            while (i < size && answers[i] != ';')
                ++i;
        }
        if (i == size)
            return false; // the slot is not closed
        ++slots;
        ++i; // the ";"
    }
    return true;
}

// The number of answer slots of a well-formed line; false for a broken one.
bool SlotsOfWellFormed(std::string_view line, std::size_t& slots)
{
    const auto depth = static_cast<std::size_t>(DepthOf(line));
    const std::size_t caret = line.find('^');
    if (caret == std::string_view::npos || caret <= depth || line[caret - 1] == ' ')
        return false;
    return AnswersWellFormed(line.substr(caret + 1), slots);
}

// Hands every key word, cut as KeyWordsOf says, to visit in order while it
// returns true; true when all were handed over.
template <typename Visit> bool VisitKeyWords(std::string_view fullKey, Visit visit)
{
    std::size_t start = 0;
    while (start < fullKey.size()) {
        // The first character is taken whatever it is.
        std::size_t end = start + 1;
        while (end < fullKey.size() && fullKey[end] != ' ')
            ++end;
        if (!visit(fullKey.substr(start, end - start)))
            return false;
        start = end + 1; // skip exactly one blank
    }
    return true;
}

} // namespace

bool IsWellFormedTableLine(std::string_view line)
{
    std::size_t slots = 0;
    return SlotsOfWellFormed(line, slots);
}

bool IsMatchableTableLine(std::string_view line)
{
    std::size_t slots = 0;
    return SlotsOfWellFormed(line, slots) && slots > 0;
}

std::vector<std::string_view> KeyWordsOf(std::string_view fullKey)
{
    std::vector<std::string_view> words;
    VisitKeyWords(fullKey, [&](std::string_view word) {
        words.push_back(word);
        return true;
    });
    return words;
}

bool KeyWordsMatch(std::string_view upperPhrase, std::string_view fullKey)
{
    std::size_t position = 0;
    return VisitKeyWords(fullKey, [&](std::string_view word) {
        return FragmentMatch(upperPhrase, word, position + 1, &position);
    });
}

namespace {

// The characters of a phrase and the pairs of neighbouring characters in it.
// A fragment is found in the phrase only where it occurs whole, so a key
// whose first two characters (or whose only one) do not occur there side by
// side cannot match; most lines of a table are passed over on that test.
class PhrasePairs {
public:
    explicit PhrasePairs(std::string_view phrase)
    {
        for (std::size_t i = 0; i < phrase.size(); ++i) {
            const unsigned first = static_cast<unsigned char>(phrase[i]);
            set(chars_, first);
            if (i + 1 < phrase.size())
                set(pairs_, first << 8 | static_cast<unsigned char>(phrase[i + 1]));
        }
    }

    // False when no fragment that starts with these characters can be
    // found: only the first character counts when the second ends it.
    bool mayStart(std::string_view line, char end) const
    {
        if (line.empty())
            return false;
        const unsigned first = static_cast<unsigned char>(line[0]);
        if (line.size() < 2 || line[1] == '^' || line[1] == end)
            return has(chars_, first);
        return has(pairs_, first << 8 | static_cast<unsigned char>(line[1]));
    }

private:
    template <std::size_t N> static void set(std::array<std::uint64_t, N>& bits, unsigned n)
    {
        bits[n >> 6] |= std::uint64_t{1} << (n & 63);
    }
    template <std::size_t N> static bool has(const std::array<std::uint64_t, N>& bits, unsigned n)
    {
        return (bits[n >> 6] >> (n & 63)) & 1;
    }

    std::array<std::uint64_t, 256 / 64> chars_{};
    std::array<std::uint64_t, 65536 / 64> pairs_{};
};

} // namespace

std::size_t ScanWholeKey(const Lines& table, std::string_view upperPhrase)
{
    const PhrasePairs pairs(upperPhrase);
    for (std::size_t i = 1; i < table.size(); ++i) {
        const std::string& line = table[i];
        // The full key runs up to "^".
        if (pairs.mayStart(line, '^') && IsMatchableTableLine(line) &&
            FragmentMatch(upperPhrase, FullKeyOf(line), 1))
            return i;
    }
    return 0;
}

std::size_t ScanKeyWords(const Lines& table, std::string_view upperPhrase)
{
    const PhrasePairs pairs(upperPhrase);
    for (std::size_t i = 1; i < table.size(); ++i) {
        const std::string& line = table[i];
        // The first key word runs up to a blank or "^".
        if (pairs.mayStart(line, ' ') && IsMatchableTableLine(line) &&
            KeyWordsMatch(upperPhrase, FullKeyOf(line)))
            return i;
    }
    return 0;
}

void TableIndex::FragmentSet::add(std::string_view fragment, std::uint32_t line)
{
    byHead_[fragment.substr(0, kHead)].push_back(Entry{fragment, line});
}

void TableIndex::FragmentSet::collect(std::string_view phrase,
                                      std::vector<std::uint32_t>& lines) const
{
    if (byHead_.empty())
        return;
    for (std::size_t s = 0; s < phrase.size(); ++s) {
        const std::string_view rest = phrase.substr(s);
        const std::size_t longest = std::min(kHead, rest.size());
        for (std::size_t k = 1; k <= longest; ++k) {
            const auto it = byHead_.find(rest.substr(0, k));
            if (it == byHead_.end())
                continue;
            for (const Entry& entry : it->second) {
                if (entry.fragment.size() == k ||
                    (k == kHead && rest.substr(0, entry.fragment.size()) == entry.fragment))
                    lines.push_back(entry.line);
            }
        }
    }
}

TableIndex::TableIndex(const Lines& table) : table_(table)
{
    std::unordered_set<std::string_view> seenKeys;
    seenKeys.reserve(table.size());
    for (std::size_t i = 1; i < table.size(); ++i) {
        const std::string& line = table[i];
        if (!IsMatchableTableLine(line))
            continue;
        const std::string_view fullKey = FullKeyOf(line);
        const auto line32 = static_cast<std::uint32_t>(i);
        // A later line with the same full key can never win the whole-key
        // search: the earlier one matches on exactly the same phrases.
        if (seenKeys.insert(fullKey).second)
            fullKeys_.add(fullKey, line32);
        // Every word must occur for the line to match; the longest one is
        // the rarest filter.
        std::string_view longest;
        VisitKeyWords(fullKey, [&](std::string_view word) {
            if (word.size() > longest.size())
                longest = word;
            return true;
        });
        keyWords_.add(longest, line32);
    }
}

std::size_t TableIndex::wholeKey(std::string_view upperPhrase) const
{
    std::vector<std::uint32_t> candidates;
    fullKeys_.collect(upperPhrase, candidates);
    std::sort(candidates.begin(), candidates.end());
    for (const std::uint32_t i : candidates) {
        if (FragmentMatch(upperPhrase, FullKeyOf(table_[i]), 1))
            return i;
    }
    return 0;
}

std::size_t TableIndex::keyWords(std::string_view upperPhrase) const
{
    std::vector<std::uint32_t> candidates;
    keyWords_.collect(upperPhrase, candidates);
    std::sort(candidates.begin(), candidates.end());
    for (const std::uint32_t i : candidates) {
        if (KeyWordsMatch(upperPhrase, FullKeyOf(table_[i])))
            return i;
    }
    return 0;
}

const TableIndex* TableSearch::indexFor(const std::shared_ptr<const Lines>& table)
{
    const bool same = !table_.expired() && !table_.owner_before(table) &&
                      !table.owner_before(table_) && table_.lock().get() == table.get();
    if (!same) {
        table_ = table;
        searches_ = 0;
        index_.reset();
    }
    if (!index_ && ++searches_ > 2)
        index_ = std::make_unique<TableIndex>(*table);
    return index_.get();
}

std::size_t TableSearch::wholeKey(const std::shared_ptr<const Lines>& table,
                                  std::string_view upperPhrase)
{
    const TableIndex* index = indexFor(table);
    return index ? index->wholeKey(upperPhrase) : ScanWholeKey(*table, upperPhrase);
}

std::size_t TableSearch::keyWords(const std::shared_ptr<const Lines>& table,
                                  std::string_view upperPhrase)
{
    const TableIndex* index = indexFor(table);
    return index ? index->keyWords(upperPhrase) : ScanKeyWords(*table, upperPhrase);
}

} // namespace tarmel
