// The program's own message boxes: a notice leaves the window taking input, a message waits
// for its OK and shows the picture it is given.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "ui/user_dialogs.h"

namespace {

TEST(DesktopDialogs, ANoticeIsShownWithoutHoldingUpTheWindow) {
    QWidget window;
    window.show();
    const std::unique_ptr<TUserDialogs> dialogs = MakeDesktopDialogs();
    dialogs->Notice(&window, QStringLiteral("Журнал регистрации не записывается."));

    const QPointer<QMessageBox> box = window.findChild<QMessageBox*>();
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("Журнал регистрации не записывается."));
    EXPECT_EQ(box->icon(), QMessageBox::Information);

    box->button(QMessageBox::Ok)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(box) << "gone once closed";
}

TEST(DesktopDialogs, AMessageWaitsForItsOkAndShowsThePictureItIsGiven) {
    const struct {
        TMessageIcon icon;
        QMessageBox::Icon shown;
    } cases[] = {{TMessageIcon::Information, QMessageBox::Information},
                 {TMessageIcon::None, QMessageBox::NoIcon}};
    QWidget window;
    window.show();
    const std::unique_ptr<TUserDialogs> dialogs = MakeDesktopDialogs();
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.icon));
        QMessageBox::Icon seen = QMessageBox::Critical;
        bool modal = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                box = window.findChild<QMessageBox*>();
            }
            if (box != nullptr) {
                seen = box->icon();
                modal = box->isModal();
                box->button(QMessageBox::Ok)->click();
            }
        });
        dialogs->Message(&window, QStringLiteral("Ошибка: недопустимое значение шкалы нагрузки! "),
                         c.icon);
        EXPECT_EQ(seen, c.shown);
        EXPECT_TRUE(modal);
    }
}

}  // namespace
