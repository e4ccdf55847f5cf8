// The main window's menu: the ports, "Выход", "Параметры" → "Конфигурация..." and "Помощь".
#include <QAction>
#include <QKeySequence>
#include <QShortcut>

#include "about/about.h"
#include "app/main.h"
#include "config/config.h"
#include "config/config_form.h"
#include "link/link_panel.h"

void TMainForm::ConnectMenu() {
    connect(mnPort1, &QAction::triggered, this, &TMainForm::mnPort1Click);
    connect(mnPort2, &QAction::triggered, this, &TMainForm::mnPort2Click);
    connect(mnPort3, &QAction::triggered, this, &TMainForm::mnPort3Click);
    connect(mnExit, &QAction::triggered, this, &TMainForm::mnExitClick);
    connect(mnConfig, &QAction::triggered, this, &TMainForm::mnConfigClick);
    connect(mnHelp, &QAction::triggered, this, &TMainForm::mnHelpClick);
    // F1 belongs to the window rather than to the menu item, whose text stays as it is.
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            &TMainForm::mnHelpClick);
    connect(mnAbout, &QAction::triggered, this, &TMainForm::mnAboutClick);
}

void TMainForm::mnPort1Click() {
    link_->OpenLinkPort(mnPort1->text());
}
void TMainForm::mnPort2Click() {
    link_->OpenLinkPort(mnPort2->text());
}
void TMainForm::mnPort3Click() {
    link_->OpenLinkPort(mnPort3->text());
}

void TMainForm::mnExitClick() {
    close();
}

void TMainForm::mnConfigClick() {
    const QString portBefore = INI_FILE_DATA.LINK_PORT;
    {
        TConfigForm dialog(dialogs_, this);
        dialog.exec();
    }
    if (INI_FILE_DATA.LINK_PORT != portBefore) {
        link_->OpenLinkPort(INI_FILE_DATA.LINK_PORT);
    }
}

void TMainForm::mnAboutClick() {
    TFormAbout about(dialogs_, this);
    about.exec();
}

void TMainForm::mnHelpClick() {
    helpViewer_->Show();
}
