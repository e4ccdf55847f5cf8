// Finding the controls of the recorder's windows by the names they carry (their object names),
// as the operator's documentation names them.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <stdexcept>
#include <string>

#include "chart/chart.h"

// The control of that name and kind under `root`; a missing one ends the test with an error that
// names it.
template <typename Control>
Control* FindControl(const QObject& root, const char* name) {
    auto* control = root.findChild<Control*>(QString::fromLatin1(name));
    if (control == nullptr) {
        throw std::runtime_error(std::string("no control named ") + name);
    }
    return control;
}

// For fixtures: the controls under the fixture's root by kind and name.
class TControlFinder {
  protected:
    virtual ~TControlFinder() = default;
    virtual const QObject& ControlsRoot() const = 0;

    QPushButton* Button(const char* name) const {
        return FindControl<QPushButton>(ControlsRoot(), name);
    }
    QLabel* Label(const char* name) const { return FindControl<QLabel>(ControlsRoot(), name); }
    QLineEdit* Edit(const char* name) const { return FindControl<QLineEdit>(ControlsRoot(), name); }
    QComboBox* Combo(const char* name) const {
        return FindControl<QComboBox>(ControlsRoot(), name);
    }
    QWidget* Widget(const char* name) const { return FindControl<QWidget>(ControlsRoot(), name); }
    QTimer* Timer(const char* name) const { return FindControl<QTimer>(ControlsRoot(), name); }
    TChart& Chart() const { return *FindControl<TChart>(ControlsRoot(), "chrtSignTraces"); }
};
