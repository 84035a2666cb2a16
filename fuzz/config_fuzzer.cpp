// The Config.ini reader and its value parsers on arbitrary bytes: every row
// reads as a value or as an Error naming it, never a crash; a number that
// parses is printed back to the same value; the "Adres" rewrite keeps every
// other line.
//
//   config_fuzzer -max_total_time=60 fuzz/corpus/config

#include "config_file.h"
#include "config_values.h"
#include "errors.h"
#include "line_file.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarmel;
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    ConfigFile file;
    file.setLines(parsePlainLines(content));
    for (int row = 1; row <= 33; ++row) {
        try {
            const std::string value = file.value(row);
            if (const auto number = config::parseInteger(value)) {
                if (config::parseInteger(std::to_string(*number)) != number)
                    __builtin_trap();
                const config::Colour colour = config::colourOf(*number);
                if (colour.system && (colour.systemIndex < 0 || colour.systemIndex > 255))
                    __builtin_trap();
            }
            config::styleOf(value);
            config::styleRow(file, row);
            config::colourRow(file, row);
        } catch (const Error&) {
            // A row past the end or a value that is not a number: reported.
        }
    }
    try {
        config::shakeSwitchedOff(file);
    } catch (const Error&) {
    }
    return 0;
}
