// Stages of the start-up sequence that are not built yet. Each keeps its place
// in the sequence and says plainly what it does not do; none pretends to have
// found, loaded or started Java. A stage moves out of this file into its own
// module when it is built.
#include "service/ServiceCommands.h"

#include "diag/Log.h"

#include <cstdio>

namespace {

void reportNotBuilt(const char* stage) {
    logMessage("%s: not built yet", stage);
}

}  // namespace

bool runServiceCommand(const char*, int&) { return false; }
