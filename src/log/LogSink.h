#pragma once

#include <string_view>

// Where formatted log lines go, chosen at run time: the launchers install the
// log file, tools and unit tests an in-memory list. Without a sink nothing is
// logged.
class LogSink {
public:
    virtual ~LogSink() = default;

    // Whether lines are wanted now. Asked before every line is formatted, so a
    // log that is off costs no formatting.
    virtual bool wantsLines() = 0;

    // `text` is the formatted call without the "ERROR: " prefix or the line end.
    virtual void writeLine(bool isError, std::string_view text) = 0;
};

// The sink for every later log call; nullptr switches logging off.
void setLogSink(LogSink* sink);
