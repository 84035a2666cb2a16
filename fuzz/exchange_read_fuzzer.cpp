// Reading the exchange file as the Cpu\Cpu mode does: whatever another
// program left in the file, the read returns lines and the phrase of the turn
// (line 0) is a single line.
//
//   exchange_read_fuzzer -max_total_time=60 fuzz/corpus/exchange_read

#include "line_file.h"
#include "line_list.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

std::string exchangeFile()
{
    static const std::string path = [] {
        std::string folder = (std::filesystem::temp_directory_path() / "tarmel-fuzz-XXXXXX").string();
        if (!::mkdtemp(folder.data()))
            std::abort();
        return folder + "/Txt.Dat";
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static tarmel::LineFileStore store;
    const std::string path = exchangeFile();
    tarmel::writeFileAtomically(path, std::string_view(reinterpret_cast<const char*>(data), size),
                                path);
    tarmel::LineList list;
    store.load(list, path);
    const std::string phrase = list.line(0);
    if (phrase.find_first_of("\r\n") != std::string::npos &&
        std::string_view(reinterpret_cast<const char*>(data), size).substr(0, 5) != "{\\rtf")
        __builtin_trap();
    // The reply written back is read back as the only line.
    list.clear();
    list.append(phrase + " reply");
    store.save(list, path);
    tarmel::LineList again;
    store.load(again, path);
    if (again.count() != 1 || again.line(0) != phrase + " reply")
        __builtin_trap();
    return 0;
}
