#pragma once
// Traces of what the program abandoned or could not do: steps skipped after a
// failure, media engine errors, INI writes that failed. Every trace goes to one
// sink for the whole process; without a sink (the default) nothing is written.
// The Qt layer installs a sink that routes traces into its logging category.

#include <string>
#include <string_view>

namespace lirabox {

class TraceSink {
public:
    virtual ~TraceSink() = default;
    // One line of text, without a line end. Called on the thread that traces.
    virtual void trace(std::string_view line) = 0;
};

// Installs the sink for the rest of the process (null: quiet again). The sink
// must outlive its installation.
void setTraceSink(TraceSink* sink);

// Hands the line to the sink, if there is one. Never throws.
void trace(std::string_view line) noexcept;

// The number and text of the exception being handled, for use inside a catch
// block: "error 13: Type mismatch" for a RaisedError or a system error, the
// exception's own text for other exceptions.
std::string describeCurrentException();

}  // namespace lirabox
