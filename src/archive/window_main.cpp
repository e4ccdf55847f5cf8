#include "archive/window_main.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include "archive/archive_window.h"
#include "archive/cli_arguments.h"
#include "archive/cli_output.h"
#include "platform/program_dir.h"
#include "ui/user_dialogs.h"

namespace archive {
namespace {

// Qt would end the program with a message of its own when it finds no display.
bool DisplayKnown() {
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
           qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

int WrongCall(const QString& error) {
    PrintMessage(QStringLiteral("ve17-archive: %1\n\n%2").arg(error, UsageText()));
    return kExitFailure;
}

}  // namespace

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

bool IsWindowCall(const QStringList& arguments, QString* folder) {
    const QString option = QStringLiteral("--folder");
    if (arguments.isEmpty()) {
        folder->clear();
        return true;
    }
    if (arguments.size() == 1 && arguments[0].startsWith(option + '=')) {
        *folder = arguments[0].mid(option.size() + 1);
        return !folder->isEmpty();
    }
    if (arguments.size() == 2 && arguments[0] == option && !arguments[1].isEmpty()) {
        *folder = arguments[1];
        return true;
    }
    return false;
}

int RunArchiveWindow(int& argc, char** argv, const QString& folder) {
    if (!DisplayKnown()) {
        return WrongCall(QStringLiteral("нет дисплея для окна архива; укажите команду"));
    }
    if (!folder.isEmpty()) {
        if (!QFileInfo(folder).isDir()) {
            return WrongCall(QStringLiteral("нет папки «%1»").arg(folder));
        }
        platform::OverrideProgramDir(folder);
    }
    QApplication app(argc, argv);
    app.setApplicationName(QString::fromUtf8(kArchiveWindowTitle));
    app.setDesktopFileName(QStringLiteral("org.example.ve17.archive"));
    // Qt's own texts (message boxes, the calendar) in Russian, when its translation is there.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ru"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    const std::unique_ptr<TUserDialogs> dialogs = MakeDesktopDialogs();
    TArchiveWindow window(ReadArchiveSettings(), *dialogs);
    window.show();
    return QApplication::exec();
}

}  // namespace archive
