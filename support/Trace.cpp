#include "Trace.h"

#include "RaisedError.h"

#include <atomic>
#include <exception>
#include <stdexcept>
#include <system_error>

namespace lirabox {
namespace {

std::atomic<TraceSink*> gSink {nullptr};

std::string numbered(long long number, std::string_view text) {
    return "error " + std::to_string(number) + ": " + std::string(text);
}

}  // namespace

void setTraceSink(TraceSink* sink) { gSink.store(sink); }

void trace(std::string_view line) noexcept {
    TraceSink* sink = gSink.load();
    if (sink == nullptr) return;
    try {
        sink->trace(line);
    } catch (...) {
        // A trace must never change what the program does.
    }
}

std::string describeCurrentException() {
    try {
        throw;
    } catch (const RaisedError& error) {
        return numbered(error.number(), error.what());
    } catch (const std::system_error& error) {
        return numbered(error.code().value(), error.what());
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "an exception that carries no text";
    }
}

}  // namespace lirabox
