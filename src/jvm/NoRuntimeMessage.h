#pragma once

#include "jvm/JvmPaths.h"
#include "jvm/SearchDiary.h"

// The message shown when the search and the binding left no runtime.
//
// When every runtime the search found there (a java.exe that exists) was of
// the other bitness, and the payload gives the message for that (key 1021,
// `otherBitnessMessageGiven`), it is that one, with the launcher's bitness
// ("64" or "32") for its "{0}".
//
// Otherwise it is the message the launcher has always shown: the search used
// to take the first runtime that got as far as its library and fail on it, so
// the message is the one for the way that runtime was found (its step's type
// and argument, see loadFailureMessage); with no such runtime, the one for
// finding none.
LoadFailureMessage noRuntimeMessage(const SearchDiary& diary, bool sixtyFourBit, bool otherBitnessMessageGiven);
