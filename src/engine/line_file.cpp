#include "line_file.h"

#include "cp1251.h"
#include "errors.h"
#include "paths.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tarmel {
namespace {

std::string quoted(std::string_view shownName)
{
    return "«" + std::string(shownName) + "»";
}

std::string systemReason(int error)
{
    return std::strerror(error);
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Destinations whose text is not part of the document's paragraphs.
bool isSkippedDestination(std::string_view word)
{
    static constexpr std::array<std::string_view, 30> kSkipped = {"fonttbl",
                                                                  "colortbl",
                                                                  "stylesheet",
                                                                  "info",
                                                                  "pict",
                                                                  "header",
                                                                  "headerl",
                                                                  "headerr",
                                                                  "headerf",
                                                                  "footer",
                                                                  "footerl",
                                                                  "footerr",
                                                                  "footerf",
                                                                  "footnote",
                                                                  "listtable",
                                                                  "listoverridetable",
                                                                  "rsidtbl",
                                                                  "generator",
                                                                  "xmlnstbl",
                                                                  "themedata",
                                                                  "colorschememapping",
                                                                  "latentstyles",
                                                                  "datastore",
                                                                  "object",
                                                                  "fldinst",
                                                                  "filetbl",
                                                                  "revtbl",
                                                                  "pgdsctbl",
                                                                  "operator",
                                                                  "author"};
    for (std::string_view skipped : kSkipped) {
        if (word == skipped)
            return true;
    }
    return false;
}

struct GroupState {
    bool skip = false;
    int unicodeSkip = 1;
};

} // namespace

Lines parsePlainLines(std::string_view content)
{
    Lines lines;
    std::size_t start = 0;
    const std::size_t size = content.size();
    for (std::size_t i = 0; i < size; ++i) {
        const char c = content[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(content.substr(start, i - start));
            if (c == '\r' && i + 1 < size && content[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < size)
        lines.emplace_back(content.substr(start));
    return lines;
}

bool parseRtfLines(std::string_view content, Lines& lines)
{
    if (content.substr(0, 5) != "{\\rtf")
        return false;
    Lines result;
    std::string paragraph;
    std::vector<GroupState> stack;
    GroupState state;
    int pendingSkip = 0; // characters still to drop after a \u
    bool closed = false;

    auto emit = [&](char c) {
        if (state.skip)
            return;
        if (pendingSkip > 0) {
            --pendingSkip;
            return;
        }
        paragraph += c;
    };
    auto endParagraph = [&] {
        if (state.skip)
            return;
        result.push_back(std::move(paragraph));
        paragraph.clear();
    };

    const std::size_t size = content.size();
    std::size_t i = 0;
    while (i < size) {
        const char c = content[i];
        if (c == '{') {
            stack.push_back(state);
            ++i;
        } else if (c == '}') {
            if (stack.empty())
                return false;
            state = stack.back();
            stack.pop_back();
            ++i;
            if (stack.empty()) {
                closed = true;
                break;
            }
        } else if (c == '\r' || c == '\n') {
            ++i;
        } else if (c != '\\') {
            // A run of ordinary characters.
            std::size_t j = i;
            while (j < size && content[j] != '\\' && content[j] != '{' && content[j] != '}' &&
                   content[j] != '\r' && content[j] != '\n')
                ++j;
            if (!state.skip) {
                std::size_t from = i;
                while (pendingSkip > 0 && from < j) {
                    --pendingSkip;
                    ++from;
                }
                paragraph.append(content.substr(from, j - from));
            }
            i = j;
        } else {
            // A control word or a control symbol.
            if (i + 1 >= size)
                return false;
            const char next = content[i + 1];
            if (next == '\'' && !state.skip && pendingSkip == 0 && i + 3 < size) {
                // The common case of an escaped 8-bit character, taken at once.
                const int high = hexValue(content[i + 2]);
                const int low = hexValue(content[i + 3]);
                if (high >= 0 && low >= 0) {
                    paragraph += static_cast<char>(high * 16 + low);
                    i += 4;
                    continue;
                }
            }
            if (isLetter(next)) {
                std::size_t j = i + 1;
                while (j < size && isLetter(content[j]))
                    ++j;
                const std::string_view word = content.substr(i + 1, j - i - 1);
                bool hasParam = false;
                long param = 0;
                bool negative = false;
                if (j < size && content[j] == '-') {
                    negative = true;
                    ++j;
                }
                while (j < size && content[j] >= '0' && content[j] <= '9') {
                    hasParam = true;
                    if (param < 100000000)
                        param = param * 10 + (content[j] - '0');
                    ++j;
                }
                if (negative)
                    param = -param;
                if (j < size && content[j] == ' ')
                    ++j;
                i = j;

                if (word == "par" || word == "line") {
                    endParagraph();
                } else if (word == "tab") {
                    emit('\t');
                } else if (word == "u" && hasParam) {
                    long cp = param < 0 ? param + 65536 : param;
                    emit(cp1251::fromUnicode(static_cast<char32_t>(cp)));
                    if (!state.skip)
                        pendingSkip = state.unicodeSkip;
                } else if (word == "uc" && hasParam) {
                    state.unicodeSkip = static_cast<int>(param < 0 ? 0 : param);
                } else if (word == "bin" && hasParam && param > 0) {
                    const auto count = static_cast<std::size_t>(param);
                    i = count > size - i ? size : i + count;
                } else if (word == "emdash") {
                    emit('\x97');
                } else if (word == "endash") {
                    emit('\x96');
                } else if (word == "lquote") {
                    emit('\x91');
                } else if (word == "rquote") {
                    emit('\x92');
                } else if (word == "ldblquote") {
                    emit('\x93');
                } else if (word == "rdblquote") {
                    emit('\x94');
                } else if (word == "bullet") {
                    emit('\x95');
                } else if (isSkippedDestination(word)) {
                    state.skip = true;
                }
            } else {
                i += 2;
                switch (next) {
                case '\'': {
                    const int high = i < size ? hexValue(content[i]) : -1;
                    const int low = i + 1 < size ? hexValue(content[i + 1]) : -1;
                    if (high >= 0 && low >= 0) {
                        emit(static_cast<char>(high * 16 + low));
                        i += 2;
                    }
                    break;
                }
                case '\\':
                case '{':
                case '}':
                    emit(next);
                    break;
                case '~':
                    emit('\xA0');
                    break;
                case '_':
                    emit('-');
                    break;
                case '*':
                    state.skip = true;
                    break;
                case '\r':
                case '\n':
                    endParagraph();
                    break;
                default:
                    break; // \- and unknown symbols carry no text
                }
            }
        }
    }
    if (!closed)
        return false;
    if (!paragraph.empty())
        result.push_back(std::move(paragraph));
    lines = std::move(result);
    return true;
}

Lines parseLines(std::string_view content)
{
    Lines lines;
    if (parseRtfLines(content, lines))
        return lines;
    return parsePlainLines(content);
}

std::string rtfDocument(const Lines& lines)
{
    static constexpr std::string_view kHeader =
        "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fnil\\fcharset204 MS Sans "
        "Serif;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs16 ";
    static constexpr std::string_view kParagraphEnd = "\\par\r\n";
    static constexpr std::string_view kEnd = "}\r\n";
    static constexpr char kHex[] = "0123456789abcdef";

    // Every character takes at most four bytes ("\'hh"), so the document is
    // written straight into a buffer of that size and cut to length.
    std::size_t bound = kHeader.size() + kEnd.size();
    for (const auto& line : lines)
        bound += line.size() * 4 + kParagraphEnd.size();
    std::string out(bound, '\0');
    char* p = out.data();
    const auto put = [&p](std::string_view text) {
        std::memcpy(p, text.data(), text.size());
        p += text.size();
    };
    put(kHeader);
    for (const auto& line : lines) {
        for (const char c : line) {
            const auto b = static_cast<unsigned char>(c);
            if (c == '\\' || c == '{' || c == '}') {
                p[0] = '\\';
                p[1] = c;
                p += 2;
            } else if (b < 0x20 || b >= 0x80) {
                p[0] = '\\';
                p[1] = '\'';
                p[2] = kHex[b >> 4];
                p[3] = kHex[b & 15];
                p += 4;
            } else {
                *p++ = c;
            }
        }
        put(kParagraphEnd);
    }
    put(kEnd);
    out.resize(static_cast<std::size_t>(p - out.data()));
    return out;
}

std::string plainText(const Lines& lines)
{
    std::string out;
    for (const auto& line : lines) {
        out.append(line);
        out.append("\r\n");
    }
    return out;
}

std::string readFileBytes(const std::filesystem::path& path, std::string_view shownName)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw Error("Не удалось открыть файл " + quoted(shownName) + ": " + systemReason(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        throw Error("Не удалось открыть файл " + quoted(shownName) + ": " + systemReason(error));
    }
    std::string bytes;
    if (info.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            throw Error("Не удалось прочитать файл " + quoted(shownName) + ": " +
                        systemReason(error));
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string_view shownName)
{
    const auto fail = [&](int error) {
        throw Error("Не удалось записать файл " + quoted(shownName) + ": " + systemReason(error));
    };
    const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    std::string tempName = (folder / ("." + path.filename().string() + ".tmp-XXXXXX")).string();
    const int fd = ::mkstemp(tempName.data());
    if (fd < 0)
        fail(errno);

    // Keep the old file's permissions; a new file gets the usual ones.
    struct stat old {};
    mode_t mode = 0;
    if (::stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);

    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            ::unlink(tempName.c_str());
            fail(error);
        }
        written += static_cast<std::size_t>(put);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(tempName.c_str());
        fail(error);
    }
    if (::rename(tempName.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(tempName.c_str());
        fail(error);
    }
}

Lines readLineFile(std::string_view name)
{
    return parseLines(readFileBytes(resolvePath(name), name));
}

void writeLineFile(std::string_view name, const Lines& lines)
{
    writeFileAtomically(resolvePath(name), rtfDocument(lines), name);
}

void writePlainFile(std::string_view name, const Lines& lines)
{
    writeFileAtomically(resolvePath(name), plainText(lines), name);
}

} // namespace tarmel
