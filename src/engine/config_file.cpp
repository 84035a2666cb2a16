#include "config_file.h"

#include "cp1251.h"
#include "errors.h"
#include "paths.h"

namespace tarmel {

void ConfigFile::load()
{
    lines_ = parsePlainLines(readFileBytes(resolvePath(kFileName), kFileName));
}

std::string ConfigFile::value(int row) const
{
    if (lines_.empty())
        return {};
    if (row < 1 || static_cast<std::size_t>(row) > lines_.size())
        throw Error("В файле «Config.ini» нет строки " + std::to_string(row) +
                    " (строк в файле: " + std::to_string(lines_.size()) + ")");
    const std::string& line = lines_[static_cast<std::size_t>(row) - 1];
    const std::size_t equals = line.find('=');
    return equals == std::string::npos ? line : line.substr(equals + 1);
}

void ConfigFile::writeAdres(const std::string& path)
{
    std::size_t found = lines_.size();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::size_t equals = lines_[i].find('=');
        if (equals != std::string::npos && cp1251::upper(lines_[i].substr(0, equals)) == "ADRES") {
            found = i;
            break;
        }
    }
    if (!path.empty()) {
        const std::string line = "Adres=" + path;
        if (found < lines_.size())
            lines_[found] = line;
        else
            lines_.push_back(line);
    } else if (found < lines_.size()) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(found));
    }
    writePlainFile(kFileName, lines_);
}

} // namespace tarmel
