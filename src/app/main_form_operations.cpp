// The window's operations as the operator's documentation names them, each handed over to the
// panel that does the work.
#include "app/main.h"
#include "link/ktcom.h"
#include "link/link_panel.h"
#include "measure/chart_panel.h"
#include "measure/registration_panel.h"
#include "records/records_panel.h"

void TMainForm::OpenLinkPort(const QString& portName) {
    link_->OpenLinkPort(portName);
}
void TMainForm::SetStatusPanel(int8_t index, const QString& text) {
    link_->SetStatusPanel(index, text);
}
QString TMainForm::StatusPanelText(int index) const {
    return link_->StatusPanelText(index);
}

void TMainForm::ProcessFrame() {
    registrationPanel_->ProcessFrame(KTCOM->Frame);
}
void TMainForm::WatchdogTick() {
    registrationPanel_->WatchdogTick();
}

void TMainForm::btStartClick() {
    registrationPanel_->btStartClick();
}
void TMainForm::btStopClick() {
    registrationPanel_->btStopClick();
}
void TMainForm::btCancelClick() {
    registrationPanel_->btCancelClick();
}
void TMainForm::TmTimer() {
    registrationPanel_->TmTimer();
}
void TMainForm::UpdateIndicators() {
    registrationPanel_->UpdateIndicators();
}

void TMainForm::AutoScale() {
    chart_->AutoScale();
}
void TMainForm::Button1Click() {
    chart_->Button1Click();
}
void TMainForm::btRightClick() {
    chart_->btRightClick();
}
void TMainForm::Button3Click() {
    chart_->Button3Click();
}
void TMainForm::Button4Click() {
    chart_->Button4Click();
}
void TMainForm::chrtSignTracesZoom() {
    chart_->chrtSignTracesZoom();
}
void TMainForm::chrtSignTracesUndoZoom() {
    chart_->chrtSignTracesUndoZoom();
}
void TMainForm::chrtSignTracesMouseWheelDown() {
    chart_->chrtSignTracesMouseWheelDown();
}
void TMainForm::chrtSignTracesMouseWheelUp() {
    chart_->chrtSignTracesMouseWheelUp();
}
void TMainForm::chrtSignTracesMouseMove(int x, int y) {
    chart_->chrtSignTracesMouseMove(x, y);
}
void TMainForm::Panel2MouseMove() {
    chart_->Panel2MouseMove();
}

void TMainForm::btSaveTestClick() {
    records_->btSaveTestClick();
}
void TMainForm::btOpenTestClick() {
    records_->btOpenTestClick();
}
void TMainForm::btToExelClick() {
    records_->btToExelClick();
}
void TMainForm::btProtocolClick() {
    records_->btProtocolClick();
}
bool TMainForm::edSQRKeyPress(QChar typed) {
    return records_->edSQRKeyPress(typed);
}
void TMainForm::edSQRExit() {
    records_->edSQRExit();
}
