#pragma once

#include <string>
#include <vector>

// detectLocale with the running user's LANGIDs (Windows builds only).
std::string detectSystemLocale(const std::vector<std::u16string>* arguments);
