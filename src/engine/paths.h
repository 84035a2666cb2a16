#pragma once

#include <filesystem>
#include <string_view>

namespace tarmel {

// Turns a file name as the program writes it ("Base\Words.Dat", "D:\Txt.Dat",
// "/tmp/x.dat") into a real path:
//  - backslashes become slashes;
//  - a name with a drive letter is taken relative to the user's home folder,
//    the drive dropped, so two copies started anywhere agree on it;
//  - an absolute Linux path stands as it is, anything else is relative to the
//    current directory;
//  - each component that does not exist exactly is looked up in its folder
//    without regard to letter case; a component found nowhere is kept as
//    written.
// The name is UTF-8, as file names are on Linux.
std::filesystem::path resolvePath(std::string_view name);

} // namespace tarmel
