// Which of the main window's controls an operator's action enables or disables.
#pragma once

#include <optional>

// An empty value leaves the control as it is.
struct TControlStates {
    std::optional<bool> Protocol;     // btProtocol
    std::optional<bool> SaveTest;     // btSaveTest
    std::optional<bool> OpenTest;     // btOpenTest
    std::optional<bool> ToExel;       // btToExel
    std::optional<bool> ConfigMenu;   // menu N2 "Параметры"
    std::optional<bool> InfoVisible;  // pnInfo shown

    bool operator==(const TControlStates&) const = default;
};
