#include "line_list.h"

#include "paths.h"

#include <algorithm>
#include <sys/stat.h>

namespace tarmel {
namespace {

const std::string& emptyText()
{
    static const std::string empty;
    return empty;
}

std::shared_ptr<const Lines> emptyLines()
{
    static const auto empty = std::make_shared<Lines>();
    return empty;
}

long long nanoseconds(const timespec& t)
{
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

} // namespace

LineList::LineList() : lines_(emptyLines()) {}

const std::string& LineList::line(std::size_t index) const
{
    return index < lines_->size() ? (*lines_)[index] : emptyText();
}

Lines& LineList::mutableLines()
{
    if (lines_.use_count() != 1)
        lines_ = std::make_shared<Lines>(*lines_);
    return const_cast<Lines&>(*lines_);
}

void LineList::assign(Lines lines)
{
    lines_ = std::make_shared<Lines>(std::move(lines));
}

void LineList::assignShared(std::shared_ptr<const Lines> lines)
{
    lines_ = lines ? std::move(lines) : emptyLines();
}

void LineList::append(std::string line)
{
    mutableLines().push_back(std::move(line));
}

void LineList::removeAt(std::size_t index)
{
    if (index < lines_->size()) {
        Lines& lines = mutableLines();
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

void LineList::moveToEnd(std::size_t index, std::string_view added)
{
    if (index < lines_->size()) {
        Lines& lines = mutableLines();
        std::rotate(lines.begin() + static_cast<std::ptrdiff_t>(index),
                    lines.begin() + static_cast<std::ptrdiff_t>(index) + 1, lines.end());
        lines.back() += added;
    }
}

void LineList::own()
{
    if (lines_.use_count() == 1)
        lines_ = std::make_shared<Lines>(std::move(const_cast<Lines&>(*lines_)));
    else
        lines_ = std::make_shared<Lines>(*lines_);
}

void LineList::removeLast()
{
    if (!lines_->empty())
        mutableLines().pop_back();
}

void LineList::clear()
{
    lines_ = emptyLines();
}

void LineFileStore::load(LineList& list, std::string_view name)
{
    const std::filesystem::path path = resolvePath(name);
    const std::string key = path.string();
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        const auto it = cache_.find(key);
        if (it != cache_.end() && it->second.device == info.st_dev &&
            it->second.inode == info.st_ino && it->second.size == info.st_size &&
            it->second.modifiedNs == nanoseconds(info.st_mtim) &&
            it->second.changedNs == nanoseconds(info.st_ctim)) {
            list.assignShared(it->second.lines);
            return;
        }
    }
    const std::string bytes = readFileBytes(path, name);
    auto lines = std::make_shared<Lines>(parseLines(bytes));
    list.assignShared(lines);
    if (::stat(path.c_str(), &info) == 0 && static_cast<std::size_t>(info.st_size) == bytes.size())
        cache_[key] = Entry{info.st_dev,
                            info.st_ino,
                            info.st_size,
                            nanoseconds(info.st_mtim),
                            nanoseconds(info.st_ctim),
                            std::move(lines)};
    else
        cache_.erase(key);
}

void LineFileStore::prepareChange(LineList& list, std::string_view name)
{
    cache_.erase(resolvePath(name).string());
    list.own();
}

void LineFileStore::save(const LineList& list, std::string_view name)
{
    const std::filesystem::path path = resolvePath(name);
    const std::string key = path.string();
    cache_.erase(key);
    const std::size_t size = writeRtfFile(path, list.lines(), name);
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && static_cast<std::size_t>(info.st_size) == size)
        cache_[key] = Entry{info.st_dev,
                            info.st_ino,
                            info.st_size,
                            nanoseconds(info.st_mtim),
                            nanoseconds(info.st_ctim),
                            list.shared()};
}

} // namespace tarmel
