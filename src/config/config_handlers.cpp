// The main window's "Параметры" → "Конфигурация...".
#include "app/main.h"
#include "config/config.h"
#include "config/config_form.h"

void TMainForm::mnConfigClick() {
    const QString portBefore = INI_FILE_DATA.LINK_PORT;
    {
        TConfigForm dialog(this);
        dialog.exec();
    }
    if (INI_FILE_DATA.LINK_PORT != portBefore) {
        OpenLinkPort(INI_FILE_DATA.LINK_PORT);
    }
}
