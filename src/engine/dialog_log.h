#pragma once

// The dialog log file "Base\Log.Dralen": every run that ends through the exit
// command appends one block to it. Texts are Windows-1251.
//
// A block reads, line by line: an empty line; the dialog's log lines (which
// begin with the header below unless a new dialog was started); an empty
// line; the footer; a separator of 53 "=".

#include "line_file.h"

#include <string>

namespace tarmel::dialog_log {

// "Начало диалога:           Дата - <date>   |   Время - <time>"
std::string startLine(const std::string& date, const std::string& time);
// "Конец диалога:           Дата - <date>   |   Время - <time>"
std::string endLine(const std::string& date, const std::string& time);

// The lines that open the dialog log of a run: an empty line, 80 "-", the
// start line and an empty line.
Lines headerLines(const std::string& date, const std::string& time);

// Appends the block of one dialog to the lines of the log file.
void appendBlock(Lines& file, const Lines& log, const std::string& date, const std::string& time);

} // namespace tarmel::dialog_log
