// The main window's "Помощь": the manual and the about window.
#include "about/about.h"
#include "app/main.h"

void TMainForm::mnAboutClick() {
    TFormAbout about(this);
    about.exec();
}

void TMainForm::mnHelpClick() {
    helpViewer_->Show();
}
