#include "line_file.h"

#include "cp1251.h"
#include "errors.h"
#include "paths.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#if defined(__x86_64__)
#include <immintrin.h>
#endif
#include <memory>
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

// The reason of a failed file operation, in the user's words.
std::string systemReason(int error)
{
    switch (error) {
    case ENOENT:
        return "файл или папка не найдены";
    case EACCES:
    case EPERM:
        return "нет прав доступа";
    case EISDIR:
        return "это папка, а не файл";
    case ENOTDIR:
        return "в пути есть файл вместо папки";
    case ENOSPC:
        return "на диске нет места";
    case EFBIG:
        return "файл слишком велик";
    case EROFS:
        return "диск только для чтения";
    default:
        return std::strerror(error);
    }
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// hexValue of every byte.
constexpr std::array<int, 256> kHexValues = [] {
    std::array<int, 256> values{};
    for (int b = 0; b < 256; ++b)
        values[static_cast<std::size_t>(b)] = hexValue(static_cast<char>(b));
    return values;
}();

// A character that stands for itself in RTF text.
bool isOrdinary(char c)
{
    return c != '\\' && c != '{' && c != '}' && c != '\r' && c != '\n';
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
    // The paragraph is gathered in one buffer that keeps its room; each line
    // gets a copy of exactly its size.
    auto endParagraph = [&] {
        if (state.skip)
            return;
        result.emplace_back(paragraph);
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
            while (j < size && isOrdinary(content[j]))
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
            if (next == '\'' && !state.skip && pendingSkip == 0) {
                // The bulk of a document: escaped 8-bit characters and the
                // ordinary characters between them, taken in one loop.
                std::size_t j = i;
                for (;;) {
                    if (j + 3 < size && content[j] == '\\' && content[j + 1] == '\'') {
                        const int high = kHexValues[static_cast<unsigned char>(content[j + 2])];
                        const int low = kHexValues[static_cast<unsigned char>(content[j + 3])];
                        if ((high | low) < 0)
                            break;
                        paragraph += static_cast<char>(high * 16 + low);
                        j += 4;
                    } else if (j < size && isOrdinary(content[j])) {
                        paragraph += content[j];
                        ++j;
                    } else {
                        break;
                    }
                }
                if (j != i) {
                    i = j;
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
        result.emplace_back(paragraph);
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

namespace {

// The RTF text of every byte: a backslash before "\\", "{" and "}"; "\'hh"
// for control characters and for every byte from 0x80 on, as strict RTF
// readers expect; the byte itself otherwise.
struct RtfEscapes {
    std::array<std::array<char, 4>, 256> text{};
    std::array<std::uint8_t, 256> size{};

    constexpr RtfEscapes()
    {
        constexpr char kHex[] = "0123456789abcdef";
        for (unsigned b = 0; b < 256; ++b) {
            const char c = static_cast<char>(b);
            if (c == '\\' || c == '{' || c == '}') {
                text[b] = {'\\', c, 0, 0};
                size[b] = 2;
            } else if (b < 0x20 || b >= 0x80) {
                text[b] = {'\\', '\'', kHex[b >> 4], kHex[b & 15]};
                size[b] = 4;
            } else {
                text[b] = {c, 0, 0, 0};
                size[b] = 1;
            }
        }
    }
};

constexpr RtfEscapes kRtfEscapes;

// Escapes count bytes into out, which has room for four per byte; returns
// the end of what was written.
char* escapeRtfBytes(const char* in, std::size_t count, char* out)
{
    for (const char* stop = in + count; in != stop; ++in) {
        const auto b = static_cast<unsigned char>(*in);
        std::memcpy(out, kRtfEscapes.text[b].data(), 4);
        out += kRtfEscapes.size[b];
    }
    return out;
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TARMEL_RTF_WIDE 1

// The same escapes, 16 bytes at a time on processors that can compress a
// vector: every byte is spread to its four-byte slot ("\\", "'" or the byte,
// then the two hex digits) and the unused bytes of the slots are squeezed out.
__attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,bmi2,popcnt"))) char*
escapeRtfBytesWide(const char* in, std::size_t count, char* out)
{
    const __m128i hexDigits = _mm_setr_epi8('0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'a',
                                            'b', 'c', 'd', 'e', 'f');
    // Byte 4i + j of the slots comes from byte i of row j.
    alignas(64) static constexpr std::array<std::uint8_t, 64> kSpread = [] {
        std::array<std::uint8_t, 64> spread{};
        for (std::size_t i = 0; i < 16; ++i)
            for (std::size_t j = 0; j < 4; ++j)
                spread[4 * i + j] = static_cast<std::uint8_t>(16 * j + i);
        return spread;
    }();
    const __m512i spread = _mm512_load_si512(kSpread.data());
    for (; count >= 16; count -= 16, in += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
        const __mmask16 hex = _mm_movepi8_mask(x) | _mm_cmplt_epu8_mask(x, _mm_set1_epi8(0x20));
        const __mmask16 slash = _mm_cmpeq_epi8_mask(x, _mm_set1_epi8('\\')) |
                                _mm_cmpeq_epi8_mask(x, _mm_set1_epi8('{')) |
                                _mm_cmpeq_epi8_mask(x, _mm_set1_epi8('}'));
        const __m128i first = _mm_mask_blend_epi8(hex | slash, x, _mm_set1_epi8('\\'));
        const __m128i second = _mm_mask_blend_epi8(hex, x, _mm_set1_epi8('\''));
        const __m128i high =
            _mm_shuffle_epi8(hexDigits, _mm_and_si128(_mm_srli_epi16(x, 4), _mm_set1_epi8(15)));
        const __m128i low = _mm_shuffle_epi8(hexDigits, _mm_and_si128(x, _mm_set1_epi8(15)));
        __m512i rows = _mm512_zextsi128_si512(first);
        rows = _mm512_inserti32x4(rows, second, 1);
        rows = _mm512_inserti32x4(rows, high, 2);
        rows = _mm512_inserti32x4(rows, low, 3);
        const __m512i slots = _mm512_maskz_permutexvar_epi8(~__mmask64{0}, spread, rows);
        // Every slot keeps its first byte, the second for "\\x" and "\\'hh",
        // the hex digits for "\\'hh".
        const std::uint64_t keep =
            0x1111111111111111ULL | _pdep_u64(hex | slash, 0x2222222222222222ULL) |
            _pdep_u64(hex, 0x4444444444444444ULL) | _pdep_u64(hex, 0x8888888888888888ULL);
        _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(keep, slots));
        out += _mm_popcnt_u64(keep);
    }
    return escapeRtfBytes(in, count, out);
}
#endif

// The fastest escaping this processor offers.
char* (*chooseRtfEscaping())(const char*, std::size_t, char*)
{
#ifdef TARMEL_RTF_WIDE
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("avx512vbmi") &&
        __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
        __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt"))
        return escapeRtfBytesWide;
#endif
    return escapeRtfBytes;
}

// Encodes the RTF document for the lines into a buffer of fixed size and
// hands it to the sink whenever it is full, and once at the end.
template <typename Sink> void encodeRtf(const Lines& lines, Sink&& sink)
{
    static constexpr std::string_view kHeader =
        "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fnil\\fcharset204 MS Sans "
        "Serif;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs16 ";
    static constexpr std::string_view kParagraphEnd = "\\par\r\n";
    static constexpr std::string_view kEnd = "}\r\n";
    static constexpr std::size_t kBufferSize = std::size_t{1} << 18;
    static const auto escape = chooseRtfEscaping();

    const std::unique_ptr<char[]> buffer(new char[kBufferSize]);
    char* const begin = buffer.get();
    char* const end = begin + kBufferSize;
    char* p = begin;
    const auto flush = [&] {
        sink(std::string_view(begin, static_cast<std::size_t>(p - begin)));
        p = begin;
    };
    const auto put = [&](std::string_view text) {
        if (static_cast<std::size_t>(end - p) < text.size())
            flush();
        std::memcpy(p, text.data(), text.size());
        p += text.size();
    };

    put(kHeader);
    for (const auto& line : lines) {
        const char* in = line.data();
        std::size_t left = line.size();
        for (;;) {
            // Every byte takes at most four, and four are always stored.
            const std::size_t count = std::min(left, static_cast<std::size_t>(end - p) / 4);
            p = escape(in, count, p);
            in += count;
            left -= count;
            if (left == 0)
                break;
            flush();
        }
        put(kParagraphEnd);
    }
    put(kEnd);
    flush();
}

} // namespace

std::string rtfDocument(const Lines& lines)
{
    std::string out;
    encodeRtf(lines, [&out](std::string_view piece) { out.append(piece); });
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

namespace {

// A file replaced atomically: the bytes go to a temporary file in the same
// folder, which commit() renames over the file. Without commit() the
// temporary file is removed and the old file stays as it was.
class AtomicFile {
public:
    AtomicFile(const std::filesystem::path& path, std::string_view shownName)
        : path_(path), shownName_(shownName)
    {
        const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
        tempName_ = (folder / ("." + path.filename().string() + ".tmp-XXXXXX")).string();
        fd_ = ::mkstemp(tempName_.data());
        if (fd_ < 0)
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
        ::fchmod(fd_, mode);
    }
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!committed_)
            ::unlink(tempName_.c_str());
    }

    void write(std::string_view bytes)
    {
        std::size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t put = ::write(fd_, bytes.data() + written, bytes.size() - written);
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                fail(errno);
            }
            written += static_cast<std::size_t>(put);
        }
        size_ += bytes.size();
    }

    void commit()
    {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            fail(errno);
        if (::rename(tempName_.c_str(), path_.c_str()) != 0)
            fail(errno);
        committed_ = true;
    }

    std::size_t size() const { return size_; }

private:
    [[noreturn]] void fail(int error) const
    {
        throw Error("Не удалось записать файл " + quoted(shownName_) + ": " + systemReason(error));
    }

    const std::filesystem::path& path_;
    std::string_view shownName_;
    std::string tempName_;
    int fd_ = -1;
    bool committed_ = false;
    std::size_t size_ = 0;
};

} // namespace

void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string_view shownName)
{
    AtomicFile file(path, shownName);
    file.write(bytes);
    file.commit();
}

std::size_t writeRtfFile(const std::filesystem::path& path, const Lines& lines,
                         std::string_view shownName)
{
    AtomicFile file(path, shownName);
    encodeRtf(lines, [&file](std::string_view piece) { file.write(piece); });
    file.commit();
    return file.size();
}

Lines readLineFile(std::string_view name)
{
    return parseLines(readFileBytes(resolvePath(name), name));
}

void writeLineFile(std::string_view name, const Lines& lines)
{
    writeRtfFile(resolvePath(name), lines, name);
}

void writePlainFile(std::string_view name, const Lines& lines)
{
    writeFileAtomically(resolvePath(name), plainText(lines), name);
}

} // namespace tarmel
