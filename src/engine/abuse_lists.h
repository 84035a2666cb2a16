#pragma once

// The fixed fragment lists of reply selection. They are part of the program,
// not of the phrase base, and never change. Windows-1251, upper case.

#include <string>
#include <vector>

namespace tarmel {

// Abusive fragments, tried in order: the first one found decides.
const std::vector<std::string>& Cenzura();
// Fragments that keep a phrase out of the general reply lists.
const std::vector<std::string>& Filter_nr();

} // namespace tarmel
