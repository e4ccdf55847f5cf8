// Program entry: one copy per desktop, high priority, the main window and the message loop.
#include <sys/socket.h>
#include <unistd.h>
#include <QFileInfo>
#include <QFont>
#include <QSocketNotifier>
#include <csignal>
#include <memory>

#include "app/application.h"
#include "app/main.h"
#include "app/startup.h"
#include "config/config_form.h"
#include "platform/error_report.h"
#include "platform/process_priority.h"
#include "platform/single_instance.h"

namespace {

int signalPipe[2] = {-1, -1};

void OnTerminate(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

// A session logout or `kill` closes the window in order, like the close box, so the port's
// settings are restored and nothing is left half done. The handler is installed at once; a
// signal that comes during start-up waits in the pipe until the window is up.
void CatchTerminateSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) {
        return;
    }
    struct sigaction action = {};
    action.sa_handler = OnTerminate;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

void CloseOnTerminateSignal(TMainForm& form) {
    if (signalPipe[0] < 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &form);
    QObject::connect(notifier, &QSocketNotifier::activated, &form, [notifier, &form] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(signalPipe[0], &byte, 1);
        notifier->setEnabled(false);
        form.close();
    });
}

// The window's fonts carry their classic names; the Liberation fonts are their metric twins.
void MapClassicFonts() {
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Courier"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
}

// The test file named on the command line, if any, as the folder it was started in names it.
QString GivenTest() {
    const QStringList arguments = QCoreApplication::arguments();
    return arguments.size() > 1 ? QFileInfo(arguments.at(1)).absoluteFilePath() : QString();
}

int Run(TApplication& app, platform::SingleInstance& instance) {
    const QString givenTest = GivenTest();
    if (RefuseSecondCopy(instance, app.Dialogs())) {
        return 0;
    }
    platform::RaiseProcessPriority();
    MapClassicFonts();
    QFont windowFont(QStringLiteral("MS Sans Serif"));
    windowFont.setPointSize(8);
    QApplication::setFont(windowFont);

    CatchTerminateSignals();
    auto mainForm = std::make_unique<TMainForm>(app.Dialogs());
    TConfigForm configForm(app.Dialogs(), mainForm.get());
    mainForm->show();
    // A signal during the recovery question waits until it is answered, so the window never
    // closes under the open question.
    mainForm->RecoverRegistration();
    if (!givenTest.isEmpty()) {
        mainForm->OpenTest(givenTest);
    }
    CloseOnTerminateSignal(*mainForm);
    app.exec();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    app.setApplicationName(kMainWindowTitle);
    app.setQuitOnLastWindowClosed(true);
    try {
        platform::SingleInstance instance(kMainWindowTitle);
        return Run(app, instance);
    } catch (...) {
        app.Dialogs().Error(nullptr, platform::CaughtErrorText());
    }
    return 0;
}
