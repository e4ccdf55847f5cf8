#include "records/info_panel.h"

#include <QLabel>

#include "ui/widgets.h"

namespace records {

TInfoPanel::TInfoPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("pnInfo"));
    resize(kSize);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    ui::SetColours(this, Qt::white, Qt::black);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setPointSize(9);
    QFont fixedBold = fixed;
    fixedBold.setBold(true);

    int top = 8;
    const struct {
        QLabel** label;
        const char* name;
    } heading[] = {{&lbInfoDate, "lbInfoDate"},
                   {&lbInfoTest, "lbInfoTest"},
                   {&lbInfoMark, "lbInfoMark"},
                   {&lbInfoType, "lbInfoType"}};
    for (const auto& line : heading) {
        *line.label = ui::Named(new QLabel(this), line.name);
        (*line.label)->setGeometry(8, top, 240, 18);
        top += 22;
    }
    lbInfoDate->setFont(fixedBold);
    auto* rule = new QFrame(this);
    rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    rule->setGeometry(6, top + 2, 243, 4);
    top += 14;
    const struct {
        QLabel** value;
        const char* name;
        QString caption;
    } results[] = {
        {&lbInfoSQR, "lbInfoSQR", QStringLiteral("S,мм.кв = ")},
        {&lbInfoFmax, "lbInfoFmax", QStringLiteral("F max,кН = ")},
        {&lbInfoRmax, "lbInfoRmax", QStringLiteral("R max,Н/мм.кв = ")},
    };
    for (const auto& line : results) {
        auto* caption = ui::MakeLabel(this, line.caption, 8, top);
        caption->setFont(fixed);
        caption->adjustSize();
        *line.value = ui::Named(new QLabel(this), line.name);
        (*line.value)->setFont(fixed);
        (*line.value)->setGeometry(8 + caption->width(), top, 240 - caption->width(), 18);
        top += 22;
    }
}

void TInfoPanel::Show(const TInfoTexts& info) {
    lbInfoDate->setText(info.Date);
    lbInfoTest->setText(info.Test);
    lbInfoMark->setText(info.Mark);
    lbInfoType->setText(info.Type);
    lbInfoSQR->setText(info.SQR);
    lbInfoFmax->setText(info.Fmax);
    lbInfoRmax->setText(info.Rmax);
}

}  // namespace records
