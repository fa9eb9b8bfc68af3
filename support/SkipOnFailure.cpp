#include "SkipOnFailure.h"

#include "Trace.h"

#include <string>
#include <string_view>

namespace lirabox::skip_on_failure_detail {

void traceAbandonedStep(const std::source_location& where, std::size_t index, std::size_t count) noexcept {
    try {
        std::string_view file = where.file_name();
        file.remove_prefix(file.rfind('/') == std::string_view::npos ? 0 : file.rfind('/') + 1);
        std::string line =
            count == 0 ? std::string("step") : "step " + std::to_string(index) + " of " + std::to_string(count);
        line += " skipped in " + std::string(where.function_name()) + " (" + std::string(file) + ":" +
                std::to_string(where.line()) + "): " + describeCurrentException();
        trace(line);
    } catch (...) {
        // Nothing more can be said.
    }
}

}  // namespace lirabox::skip_on_failure_detail
