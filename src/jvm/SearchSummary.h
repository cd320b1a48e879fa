#pragma once

#include "jvm/SearchDiary.h"

#include <string>
#include <vector>

// The table the log gets when no runtime could be used: a heading with the
// launcher's bitness and the version limits, then one row per candidate of
// the diary in the order they were looked at, with the step that named it, its
// path, its version (or why there is none), the bitness of its jvm.dll and the
// verdict. Columns are padded to their widest cell and separated by " | ".
std::vector<std::string> searchSummaryLines(const SearchDiary& diary, LibraryBitness launcherBitness);
