#include "app/application.h"

#include <QLibraryInfo>

#include "platform/error_report.h"

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv), desktop_(MakeDesktopDialogs()), dialogs_(desktop_.get()) {
    // Without Qt's translation (package qt6-translations-l10n) Qt's texts stay English.
    if (qtTexts_.load(QStringLiteral("qtbase_ru"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        installTranslator(&qtTexts_);
    }
}

TApplication::~TApplication() = default;

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        dialogs_->Error(nullptr, platform::CaughtErrorText());
    }
    return false;
}

void TApplication::UseDialogs(TUserDialogs* dialogs) {
    dialogs_ = dialogs != nullptr ? dialogs : desktop_.get();
}
