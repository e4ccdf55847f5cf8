#include "platform/error_report.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <functional>
#include <stdexcept>

namespace {

TEST(RunReportingErrors, ShowsWhatTheActionThrewAndReturns) {
    const struct {
        const char* name;
        std::function<void()> action;
        QStringList shown;
    } cases[] = {
        {"no error", [] {}, {}},
        {"standard error",
         [] { throw std::runtime_error("Unable to write to /x/VE17.ini"); },
         {QStringLiteral("Unable to write to /x/VE17.ini")}},
        {"anything else", [] { throw 42; }, {QStringLiteral("Неизвестная ошибка")}},
    };
    for (const auto& c : cases) {
        QStringList shown;
        platform::SetErrorDisplay([&shown](const QString& text) { shown << text; });
        EXPECT_NO_THROW(platform::RunReportingErrors(c.action)) << c.name;
        platform::SetErrorDisplay({});
        EXPECT_EQ(shown, c.shown) << c.name;
    }
}

}  // namespace
