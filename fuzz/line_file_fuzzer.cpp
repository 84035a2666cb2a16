// The line-file reader on arbitrary bytes (RTF, broken RTF, plain text,
// garbage): it must return without crash or hang, and whatever lines it
// reads must survive being written as RTF and read back.
//
//   line_file_fuzzer -max_total_time=60 fuzz/corpus/line_file

#include "line_file.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    const tarmel::Lines lines = tarmel::parseLines(content);
    if (tarmel::parseLines(tarmel::rtfDocument(lines)) != lines)
        __builtin_trap();
    for (const auto& line : lines) {
        // Plain text cannot hold line breaks inside a line; every other line
        // list must read back from plain text too.
        if (line.find_first_of("\r\n") != std::string::npos)
            return 0;
    }
    if (tarmel::parsePlainLines(tarmel::plainText(lines)) != lines)
        __builtin_trap();
    return 0;
}
