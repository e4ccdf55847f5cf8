// Qt's own texts in the desktop's dialogs are Russian, like the rest of the program, whatever
// the machine's locale.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "support/program_folder.h"
#include "ui/user_dialogs.h"

namespace {

// The visible texts of the buttons and labels of the dialog that comes up, after which it is
// closed like the Escape key would.
class ModalTexts {
  public:
    explicit ModalTexts(const std::function<void()>& showDialog) {
        QTimer::singleShot(0, [this] { Read(); });
        showDialog();
    }
    QStringList buttons;
    QStringList labels;

  private:
    void Read() {
        QWidget* dialog = nullptr;
        if (!QTest::qWaitFor([&] { return (dialog = QApplication::activeModalWidget()); })) {
            return;
        }
        for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            if (button->isVisible()) {
                buttons << button->text();
            }
        }
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->isVisible()) {
                labels << label->text();
            }
        }
        if (auto* box = qobject_cast<QDialog*>(dialog)) {
            box->reject();
        }
    }
};

TEST(QtTexts, MessageBoxButtonsAreRussian) {
    const std::unique_ptr<TUserDialogs> desktop = MakeDesktopDialogs();
    const ModalTexts shown([&] { EXPECT_FALSE(desktop->Question(nullptr, QStringLiteral("?"))); });
    EXPECT_TRUE(shown.buttons.contains(QStringLiteral("&Да")))
        << shown.buttons.join('|').toStdString();
    EXPECT_TRUE(shown.buttons.contains(QStringLiteral("&Нет")));
}

TEST(QtTexts, FileDialogIsRussian) {
    const TScratchProgramFolder folder;
    const std::unique_ptr<TUserDialogs> desktop = MakeDesktopDialogs();
    const ModalTexts shown([&] {
        const QString chosen = desktop->SaveFileName(
            nullptr, {QStringLiteral("Сохранить"), QStringLiteral("Файлы (*.csv)"), folder.Path(),
                      QStringLiteral("csv"), true});
        EXPECT_EQ(chosen, QString());
    });
    EXPECT_TRUE(shown.buttons.contains(QStringLiteral("&Сохранить")))
        << shown.buttons.join('|').toStdString();
    EXPECT_TRUE(shown.buttons.contains(QStringLiteral("Отмена")));
    EXPECT_TRUE(shown.labels.contains(QStringLiteral("Перейти к:")))
        << shown.labels.join('|').toStdString();
    EXPECT_TRUE(shown.labels.contains(QStringLiteral("&Имя файла:")));
}

}  // namespace
