// How btStart shows at a glance whether a registration runs.
#pragma once

class QPushButton;

namespace measure {

// Running: a red fill, a white caption and a white recording mark as its picture. Not running:
// a plain button with its start picture. The caption, the size and the place stay.
void ShowRecording(QPushButton& start, bool recording);

}  // namespace measure
