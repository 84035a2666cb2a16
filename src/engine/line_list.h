#pragma once

#include "line_file.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace tarmel {

// An in-memory list of lines ("RE2", "Log", "LoadtxtCpuCpu"). Reading a line at
// or past the end yields an empty text. The lines are shared with the file
// cache until the list is changed, so loading an unchanged file costs nothing.
class LineList {
public:
    LineList();

    std::size_t count() const { return lines_->size(); }
    bool empty() const { return lines_->empty(); }
    const std::string& line(std::size_t index) const;
    const Lines& lines() const { return *lines_; }
    std::shared_ptr<const Lines> shared() const { return lines_; }

    void assign(Lines lines);
    void assignShared(std::shared_ptr<const Lines> lines);
    void append(std::string line);
    void removeAt(std::size_t index);
    // Moves the line at index to the end with the text added to it; nothing
    // happens for an index past the end.
    void moveToEnd(std::size_t index, std::string_view added);
    void removeLast();
    void clear();
    // Makes the list the only holder of its lines under a new identity (an
    // index tied to the old lines no longer applies): they are moved when no
    // one else holds them and copied otherwise.
    void own();

private:
    // Lines are always created non-const; a list changes them in place only
    // while it is their sole owner, and copies them first otherwise.
    Lines& mutableLines();

    std::shared_ptr<const Lines> lines_;
};

// Reads and writes the line files of the program. Lines read are kept while
// the file's identity, size and modification time stay the same, so a file
// read again and again (the main table, before every search) is parsed only
// when it has really changed, by this program or by another one.
class LineFileStore {
public:
    // LoadList: replaces the list's content with the lines of the file.
    void load(LineList& list, std::string_view name);
    // SaveList: writes the list to the file as an RTF document.
    void save(const LineList& list, std::string_view name);
    // Before a list loaded from the file is changed and saved back: the lines
    // kept for the file are forgotten and the list becomes their only holder,
    // so that changing it copies nothing.
    void prepareChange(LineList& list, std::string_view name);

private:
    struct Entry {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        long long modifiedNs = 0;
        long long changedNs = 0;
        std::shared_ptr<const Lines> lines;
    };
    std::map<std::string, Entry> cache_;
};

} // namespace tarmel
