#pragma once
// The logic's traces (support/Trace.h) as messages of the logging category
// "lirabox" at info level: quiet by default, shown with --verbose or with
// QT_LOGGING_RULES="lirabox.info=true".

namespace lirabox::qt {

// Routes every trace of the process into the category; `verbose` turns its
// info messages on.
void routeTracesToLog(bool verbose);

}  // namespace lirabox::qt
