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
#include "measure/recording.h"
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
    const TSampleStore& store = form.Recording().Store();
    QObject::connect(&form.Recording(), &TRecording::SampleAppended, [&store] {
        const int32_t last = store.Count - 1;
        std::printf("sample %d %d\n", store.ForceN[last], store.TimeMs[last]);
        std::fflush(stdout);
    });
    QTimer waitForFrames;
    QObject::connect(&waitForFrames, &QTimer::timeout, [&] {
        if (form.Recording().Measure().Watchdog != 0) {
            waitForFrames.stop();
            form.findChild<QPushButton*>(QStringLiteral("btStart"))->click();
        }
    });
    waitForFrames.start(20);
    return app.exec();
}
