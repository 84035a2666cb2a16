#include "paths.h"

#include <cctype>
#include <cstdlib>
#include <string>
#include <system_error>

namespace tarmel {
namespace {

bool equalsIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::filesystem::path homeFolder()
{
    const char* home = std::getenv("HOME");
    return home && *home ? std::filesystem::path(home) : std::filesystem::path("/");
}

} // namespace

std::filesystem::path resolvePath(std::string_view name)
{
    std::string text(name);
    for (char& c : text) {
        if (c == '\\')
            c = '/';
    }

    std::filesystem::path base;
    std::string rest;
    if (text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':') {
        base = homeFolder();
        rest = text.substr(2);
    } else if (!text.empty() && text[0] == '/') {
        base = "/";
        rest = text.substr(1);
    } else {
        base = ".";
        rest = text;
    }

    std::filesystem::path result = base;
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t end = std::min(rest.find('/', start), rest.size());
        const std::string component = rest.substr(start, end - start);
        start = end + 1;
        if (component.empty() || component == ".")
            continue;
        std::filesystem::path candidate = result / component;
        std::error_code ec;
        if (component != ".." && !std::filesystem::exists(candidate, ec)) {
            for (const auto& entry : std::filesystem::directory_iterator(result, ec)) {
                const std::string entryName = entry.path().filename().string();
                if (equalsIgnoringCase(entryName, component)) {
                    candidate = entry.path();
                    break;
                }
            }
        }
        result = candidate;
    }
    // Keep relative names relative: "./Base/Words.Dat" reads as "Base/Words.Dat".
    if (base == ".")
        return result.lexically_normal();
    return result;
}

} // namespace tarmel
