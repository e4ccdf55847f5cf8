// The information panel that shows a test: the header's texts in a fixed-pitch font, the date in
// bold, a rule, then the area and the results each after its caption, in a plain box on white.
// The recorder places it in its window; the archive window shows an archived test in the same
// panel.
#pragma once

#include <QFrame>

#include "records/info_texts.h"

class QLabel;

namespace records {

class TInfoPanel : public QFrame {
    Q_OBJECT

  public:
    static constexpr QSize kSize{255, 183};

    explicit TInfoPanel(QWidget* parent);

    void Show(const TInfoTexts& info);

  private:
    QLabel* lbInfoDate = nullptr;
    QLabel* lbInfoTest = nullptr;
    QLabel* lbInfoMark = nullptr;
    QLabel* lbInfoType = nullptr;
    QLabel* lbInfoSQR = nullptr;
    QLabel* lbInfoFmax = nullptr;
    QLabel* lbInfoRmax = nullptr;
};

}  // namespace records
