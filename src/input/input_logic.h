#pragma once

// The rules of the input aids that need no window: the keyboard layout map,
// the word-completion search with its arrow-key steps, and the input guard's
// scan. Every text is Windows-1251, one byte per character.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarmel::input {

// --- keyboard layout fix ---

// LayoutMap: the character that the Russian layout puts on the key that gives
// this character in the Latin (US) layout; a character that is not a key of
// the map comes back unchanged.
char layoutFixed(char c);
// The keys of LayoutMap, in no particular order (70 of them).
std::string layoutKeys();
// The whole text rewritten through LayoutMap. Each character is looked up
// once: a character produced by a replacement is never replaced again.
std::string fixLayout(std::string_view text);

// --- word completion ---

// Space, comma, full stop, "!" and "?" end a word; nothing else does.
bool isWordSeparator(char c);

struct CompletionResult {
    bool found = false;
    int index = -1;    // CompletionIndex after the search: the match, or -1
    std::string entry; // the matching entry as spelled in the dictionary
    std::string tail;  // the part of the entry after the typed word
};

// The completion search: the last word of the line is matched, ignoring case,
// against the beginnings of the entries after `index`, in dictionary order.
CompletionResult searchCompletion(std::string_view line, const std::vector<std::string>& entries,
                                  int index);

enum class HookKey { Up, Down, Other };

// CompletionIndex after a key-down seen by the key hook: Up steps back two
// (the search then adds one), Down skips one, other keys keep it; the result
// is kept within the dictionary of `count` entries (count > 0).
int completionIndexAfterKey(int index, HookKey key, std::size_t count);

// --- input guard ---

// The characters with a meaning of their own in the phrase base's lines.
bool isReservedChar(char c);

struct GuardStep {
    int scanPos = 0;  // GuardScanPos after the step
    bool hit = false; // a reserved character was met: the line is to be emptied
};

// One tick of the input guard: examines the character after `scanPos` (or
// the first one when the line has become shorter), wrapping to 0 after the
// last. An empty line is not examined and leaves the position as it is.
GuardStep guardScan(std::string_view text, int scanPos);

} // namespace tarmel::input
