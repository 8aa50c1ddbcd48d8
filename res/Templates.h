// Dialog templates, by resource number. Positions and sizes are dialog units.
#pragma once

#include "DialogTemplate.h"
#include "Pictures.h"

namespace vantor::templates {

using K = ControlKind;

// Main window (216): the picture under the menu bar.
inline constexpr ControlTemplate kMainWindowControls[] = {
    {K::Picture, -1, kMainPicture, 0, 0, 251, 155},
    {K::DefaultButton, 1050, "", 0, 0, 1, 1},
};
inline constexpr DialogTemplate kMainWindow{216, "VantorPC", 251, 154, nullptr, 8, kMainWindowControls};

// Options (144).
inline constexpr ControlTemplate kOptionsControls[] = {
    {K::Static, 1003, "Jbus", 7, 9, 37, 10},
    {K::Edit, 1146, "", 46, 8, 32, 12},
    {K::Static, 1156, "Com", 88, 9, 22, 10},
    {K::ComboDropDown, 1000, "", 112, 8, 48, 60},
    {K::Static, 1158, "Bauds", 168, 9, 28, 10},
    {K::ComboDropDown, 1002, "", 198, 8, 42, 80},
    {K::PushButton, 1272, "Connect", 248, 7, 42, 14},
    {K::Static, 1093, "Langue", 7, 27, 37, 10},
    {K::ComboDropList, 1001, "", 46, 26, 70, 40},
    {K::Static, 1004, "Tableur", 7, 46, 37, 10},
    {K::StaticFrame, 1269, "", 46, 45, 194, 12},
    {K::PushButton, 1267, "Parcourir", 248, 44, 42, 14},
    {K::DefaultButton, 1050, "", 0, 0, 1, 1},
};
inline constexpr DialogTemplate kOptions{144, "Configuration", 297, 66, nullptr, 8, kOptionsControls};

// About box (100).
inline constexpr ControlTemplate kAboutControls[] = {
    {K::Icon, -1, "", 7, 7, 20, 20},
    {K::StaticCentered, 1255, "CompanyName", 33, 14, 152, 8},
    {K::StaticCentered, 1248, "FileDescription", 7, 27, 205, 8},
    {K::StaticCentered, 1253, "FileVersion", 7, 39, 205, 8},
    {K::StaticCentered, 1251, "LegalCopyright", 7, 51, 205, 8},
    {K::OkButton, 1, "OK", 180, 61, 32, 14},
};
inline constexpr DialogTemplate kAbout{100, "About", 219, 82, nullptr, 8, kAboutControls};

// Wait window (203): the text and the hourglass (204).
inline constexpr ControlTemplate kWaitControls[] = {
    {K::StaticCentered, 1220, "", 2, 5, 68, 10},
    {K::Picture, 204, kWaitPicture, 28, 17, 16, 14},
};
inline constexpr DialogTemplate kWait{203, "", 72, 35, nullptr, 8, kWaitControls};

}  // namespace vantor::templates
