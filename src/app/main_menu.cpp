// The main window's menu: the ports, "Выход", "Параметры" → "Конфигурация..." and "Помощь".
#include <QAction>

#include "about/about.h"
#include "app/main.h"
#include "config/config.h"
#include "config/config_form.h"

void TMainForm::ConnectMenu() {
    connect(mnPort1, &QAction::triggered, this, &TMainForm::mnPort1Click);
    connect(mnPort2, &QAction::triggered, this, &TMainForm::mnPort2Click);
    connect(mnPort3, &QAction::triggered, this, &TMainForm::mnPort3Click);
    connect(mnExit, &QAction::triggered, this, &TMainForm::mnExitClick);
    connect(mnConfig, &QAction::triggered, this, &TMainForm::mnConfigClick);
    connect(mnHelp, &QAction::triggered, this, &TMainForm::mnHelpClick);
    connect(mnAbout, &QAction::triggered, this, &TMainForm::mnAboutClick);
}

void TMainForm::mnPort1Click() {
    OpenLinkPort(mnPort1->text());
}
void TMainForm::mnPort2Click() {
    OpenLinkPort(mnPort2->text());
}
void TMainForm::mnPort3Click() {
    OpenLinkPort(mnPort3->text());
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
        OpenLinkPort(INI_FILE_DATA.LINK_PORT);
    }
}

void TMainForm::mnAboutClick() {
    TFormAbout about(dialogs_, this);
    about.exec();
}

void TMainForm::mnHelpClick() {
    helpViewer_->Show();
}
