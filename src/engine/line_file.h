#pragma once

// Line files: how a file becomes a list of lines and goes back to disk.
// Reading accepts an RTF document (its paragraphs are the lines) or plain
// Windows-1251 text (lines end at CR LF, CR or LF); a final empty line is not
// counted and no line is ever cut short. Writing produces an RTF document in
// code page 1251, one paragraph per line, and replaces the file atomically.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarmel {

using Lines = std::vector<std::string>;

// Lines of a file's content, RTF or plain.
Lines parseLines(std::string_view content);
// Lines of plain text only.
Lines parsePlainLines(std::string_view content);
// Lines of an RTF document; false when the content is not a complete RTF
// document (then it is to be read as plain text).
bool parseRtfLines(std::string_view content, Lines& lines);

// The RTF document for these lines.
std::string rtfDocument(const Lines& lines);
// Writes the RTF document for these lines to the file as writeFileAtomically
// does, a piece at a time; returns its size in bytes.
std::size_t writeRtfFile(const std::filesystem::path& path, const Lines& lines,
                         std::string_view shownName);
// Plain text, every line ended by CR LF.
std::string plainText(const Lines& lines);

// Whole file as bytes; Error naming the file when it cannot be read.
std::string readFileBytes(const std::filesystem::path& path, std::string_view shownName);

// Replaces the file atomically: a temporary file in the same folder is
// written, flushed and renamed over the old one, so the file is always either
// the old or the new content. Error naming the file on failure, with the old
// file untouched and no temporary file left behind.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string_view shownName);

// Convenience: resolve the name, read or write the lines.
Lines readLineFile(std::string_view name);
void writeLineFile(std::string_view name, const Lines& lines);
void writePlainFile(std::string_view name, const Lines& lines);

} // namespace tarmel
