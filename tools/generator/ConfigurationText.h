#pragma once

#include "PayloadDump.h"
#include "LauncherConfig.h"

#include <string>

// The other direction: a launcher's configuration record written back in the
// readable TOML terms that generator::readLauncherConfiguration understands.
// Keys without a readable form, and values that the readable form cannot
// express, are listed under [raw], so nothing of the record is hidden.
namespace generator {

std::string describeConfiguration(const payload::LauncherContents& contents, LauncherProgram program);

// A TOML string for `text`: literal ('...') where that reads better, else basic.
std::string tomlString(std::string_view text);

}  // namespace generator
