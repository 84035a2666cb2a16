#pragma once

#include "line_file.h"

#include <string>
#include <string_view>

namespace tarmel {

// The lines of "Config.ini", addressed by row number (1 = the first line,
// blank lines counted). The value of a row is the text after its first "=";
// a line without "=" is its own value.
class ConfigFile {
public:
    static constexpr std::string_view kFileName = "Config.ini";

    // Reads the file; Error naming it when it cannot be read.
    void load();
    const Lines& lines() const { return lines_; }
    void setLines(Lines lines) { lines_ = std::move(lines); }

    // The value of row n. Every row of an empty list reads as empty text; a
    // row past the last line of a non-empty list is an Error naming the row.
    std::string value(int row) const;

    // Sets the "Adres" line (the exchange file's path): replaces the first line
    // whose key is "Adres" in any letter case, or adds one at the end; an empty
    // path deletes that line instead. Then writes the file as plain text with
    // CR LF line ends; Error naming the file when that fails (the lines in
    // memory keep the change).
    void writeAdres(const std::string& path);

private:
    Lines lines_;
};

} // namespace tarmel
