// The recorder's window for the killed-registration test, run as a child process that the test
// kills: in the program folder named by its one argument it waits for the unit's frames on COM1,
// presses "Регистрация" and prints every sample the moment it is stored, as
// "sample <force N> <time ms>", until it is killed. Messages the window shows go to stderr.
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "app/application.h"
#include "app/main.h"
#include "measure/registration_panel.h"
#include "platform/program_dir.h"
#include "support/fake_dialogs.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <program folder>\n", argv[0]);
        return 2;
    }
    platform::OverrideProgramDir(QString::fromLocal8Bit(argv[1]));
    TFakeDialogs dialogs;
    dialogs.whileShown = [&dialogs] {
        const QStringList shown = dialogs.messages + dialogs.errors + dialogs.questions;
        std::fprintf(stderr, "shown: %s\n", shown.join(QStringLiteral(" | ")).toLocal8Bit().data());
    };
    TMainForm form(dialogs);
    form.show();
    form.findChild<QLineEdit*>(QStringLiteral("edTestName"))->setText(QStringLiteral("Убит-1"));

    // Connected after the window's own journal, so a sample is printed once it is written.
    QObject::connect(form.findChild<TRegistrationPanel*>(), &TRegistrationPanel::SampleStored,
                     [](int32_t forceN, int32_t timeMs) {
                         std::printf("sample %d %d\n", forceN, timeMs);
                         std::fflush(stdout);
                     });
    QTimer waitForFrames;
    QObject::connect(&waitForFrames, &QTimer::timeout, [&] {
        if (form.Measure().Watchdog != 0) {
            waitForFrames.stop();
            form.findChild<QPushButton*>(QStringLiteral("btStart"))->click();
        }
    });
    waitForFrames.start(20);
    return app.exec();
}
