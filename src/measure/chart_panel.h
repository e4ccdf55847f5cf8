// The load chart with its readout and navigation strip: fitting the axes to the points, zoom,
// the time-axis buttons and the cursor readout. The chart follows the test under way: a Start
// and a Cancel empty it, every stored sample is appended, an opened or recovered test is shown.
#pragma once

#include <QObject>

#include "measure/sample_store.h"

class QLabel;
class QPushButton;
class QWidget;
class TChart;
class TRecording;

class TChartPanel : public QObject {
    Q_OBJECT

  public:
    // Builds the chart in `frame` (Panel2) and the readout and buttons in `strip` (Panel3).
    TChartPanel(QWidget* frame, QWidget* strip, const TRecording& recording, QObject* parent);

    // The chart component itself, for the samples and the printout.
    TChart& Chart() { return *chrtSignTraces; }

    // Fits both axes to the series; nothing while the series is switched off.
    void AutoScale();
    // The series shows exactly the store's samples, the axes are fitted to them, and the chart
    // is painted as soon as the event loop runs.
    void ShowSamples(const TSampleStore& store);

    void Button1Click();  // "<"
    void btRightClick();  // ">"
    void Button3Click();  // "X ++"
    void Button4Click();  // "Авто-Масштаб"
    void chrtSignTracesZoom();
    void chrtSignTracesUndoZoom();
    void chrtSignTracesMouseWheelDown();
    void chrtSignTracesMouseWheelUp();
    void chrtSignTracesMouseMove(int x, int y);
    // The pointer left the chart over its frame, the strip or the groups beside it.
    void Panel2MouseMove();

  private:
    void BuildStrip(QWidget* strip);
    void FollowRecording();
    void ShowEmpty();
    void AppendSample(double timeS, double forceKn);

    const TRecording& recording_;
    TChart* chrtSignTraces;
    QLabel* stX = nullptr;
    QLabel* stY = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* btRight = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* btPrintChart = nullptr;
};
