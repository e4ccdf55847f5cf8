#include <gtest/gtest.h>

#include <QStringList>
#include <functional>
#include <stdexcept>

#include "support/fake_dialogs.h"
#include "ui/user_dialogs.h"

namespace {

TEST(RunReportingErrors, ShowsWhatTheActionThrewInTheGeneralErrorBoxAndReturns) {
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
        TFakeDialogs dialogs;
        EXPECT_NO_THROW(RunReportingErrors(dialogs, nullptr, c.action)) << c.name;
        EXPECT_EQ(dialogs.errors, c.shown) << c.name;
        EXPECT_TRUE(dialogs.messages.isEmpty()) << c.name;
    }
}

}  // namespace
