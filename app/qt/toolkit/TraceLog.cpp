#include "TraceLog.h"

#include "support/Trace.h"

#include <QLoggingCategory>
#include <QString>

namespace lirabox::qt {
namespace {

Q_LOGGING_CATEGORY(gTraceCategory, "lirabox", QtWarningMsg)

class CategorySink final : public TraceSink {
public:
    void trace(std::string_view line) override {
        qCInfo(gTraceCategory).noquote() << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    }
};

}  // namespace

void routeTracesToLog(bool verbose) {
    static CategorySink sink;
    if (verbose) QLoggingCategory::setFilterRules(QStringLiteral("lirabox.info=true"));
    setTraceSink(&sink);
}

}  // namespace lirabox::qt
