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

// Calibration (183): probe and relays, pipe and fluid, flow and totalizers, each
// row a label, its control and its unit; the upload options under the third
// column; the file name and the command buttons along the bottom.
inline constexpr ControlTemplate kCalibrationControls[] = {
    {K::GroupBox, -1, "", 6, 4, 150, 142},
    {K::GroupBox, -1, "", 6, 149, 150, 67},
    {K::GroupBox, -1, "", 162, 4, 150, 67},
    {K::GroupBox, -1, "", 162, 74, 150, 97},
    {K::GroupBox, -1, "", 162, 174, 150, 22},
    {K::GroupBox, -1, "", 318, 4, 150, 97},
    {K::GroupBox, -1, "", 318, 104, 150, 67},
    {K::Static, 1401, "Sonde", 10, 12, 56, 9},
    {K::ComboDropList, 1054, "", 68, 10, 56, 100},
    {K::Static, 1402, "Montage Sonde", 10, 27, 56, 9},
    {K::ComboDropList, 1051, "", 68, 25, 56, 100},
    {K::Static, 1078, "Longueur", 10, 42, 56, 9},
    {K::Edit, 1079, "", 68, 40, 56, 12},
    {K::Static, 1080, "mm", 126, 42, 28, 9},
    {K::Static, 1069, "D. Ax.", 10, 57, 56, 9},
    {K::Edit, 1070, "", 68, 55, 56, 12},
    {K::Static, 1071, "mm", 126, 57, 28, 9},
    {K::Static, 1403, "Polarité", 10, 72, 56, 9},
    {K::ComboDropList, 1052, "", 68, 70, 56, 100},
    {K::Static, 1404, "Mesure sur", 10, 87, 56, 9},
    {K::ComboDropList, 1053, "", 68, 85, 56, 100},
    {K::Static, 1405, "Durée US", 10, 102, 56, 9},
    {K::Edit, 1058, "", 68, 100, 56, 12},
    {K::Static, 1406, "Type Gain", 10, 117, 56, 9},
    {K::ComboDropList, 1055, "", 68, 115, 56, 100},
    {K::Static, 1023, "Gain", 10, 132, 56, 9},
    {K::Edit, 1056, "", 68, 130, 56, 12},
    {K::Static, 1407, "dB", 126, 132, 28, 9},
    {K::Static, 1408, "Type R1", 10, 157, 56, 9},
    {K::ComboDropList, 1131, "", 68, 155, 56, 100},
    {K::Static, 1134, "Seuil R1", 10, 172, 56, 9},
    {K::Edit, 1140, "", 68, 170, 56, 12},
    {K::Static, 1409, "Type R2", 10, 187, 56, 9},
    {K::ComboDropList, 1133, "", 68, 185, 56, 100},
    {K::Static, 1136, "Seuil R2", 10, 202, 56, 9},
    {K::Edit, 1142, "", 68, 200, 56, 12},
    {K::Static, 1410, "Diamètre Ext.", 166, 12, 56, 9},
    {K::Edit, 1082, "", 224, 10, 56, 12},
    {K::Static, 1411, "mm", 282, 12, 28, 9},
    {K::Static, 1412, "Epaisseur", 166, 27, 56, 9},
    {K::Edit, 1061, "", 224, 25, 56, 12},
    {K::Static, 1413, "mm", 282, 27, 28, 9},
    {K::Static, 1414, "Matériau", 166, 42, 56, 9},
    {K::ComboDropList, 1085, "", 224, 40, 56, 100},
    {K::Static, 1113, "Rugosité", 166, 57, 56, 9},
    {K::Edit, 1114, "", 224, 55, 56, 12},
    {K::Static, 1115, "mm", 282, 57, 28, 9},
    {K::Static, 1415, "Produit", 166, 82, 56, 9},
    {K::ComboDropList, 1064, "", 224, 80, 56, 100},
    {K::Static, 1076, "C0", 166, 97, 56, 9},
    {K::Edit, 1074, "", 224, 95, 56, 12},
    {K::Static, 1075, "m/s", 282, 97, 28, 9},
    {K::Static, 1077, "Delta C", 166, 112, 56, 9},
    {K::Edit, 1072, "", 224, 110, 56, 12},
    {K::Static, 1073, "m/s", 282, 112, 28, 9},
    {K::Static, 1416, "TypeKH", 166, 127, 56, 9},
    {K::ComboDropList, 1116, "", 224, 125, 56, 100},
    {K::Static, 1033, "KH", 166, 142, 56, 9},
    {K::Edit, 1117, "", 224, 140, 56, 12},
    {K::Static, 1107, "Viscosité", 166, 157, 56, 9},
    {K::Edit, 1109, "", 224, 155, 56, 12},
    {K::Static, 1111, "cSt", 282, 157, 28, 9},
    {K::Static, 1417, "Jbus", 166, 182, 56, 9},
    {K::Edit, 1146, "", 224, 180, 56, 12},
    {K::Static, 1418, "Unité Q", 322, 12, 56, 9},
    {K::ComboDropList, 1120, "", 380, 10, 56, 100},
    {K::Static, 1419, "QMax", 322, 27, 56, 9},
    {K::Edit, 1121, "", 380, 25, 56, 12},
    {K::Static, 1420, "Q0", 322, 42, 56, 9},
    {K::Edit, 1094, "", 380, 40, 56, 12},
    {K::Static, 1421, "Q Eff", 322, 57, 56, 9},
    {K::Edit, 1099, "", 380, 55, 56, 12},
    {K::Static, 1422, "%QMax", 438, 57, 28, 9},
    {K::Static, 1423, "Filtre", 322, 72, 56, 9},
    {K::Edit, 1090, "", 380, 70, 56, 12},
    {K::Static, 1424, "Cycle", 438, 72, 28, 9},
    {K::Static, 1425, "Mémoire", 322, 87, 56, 9},
    {K::Edit, 1118, "", 380, 85, 56, 12},
    {K::Static, 1426, "Cycle", 438, 87, 28, 9},
    {K::Static, 1427, "Type Tot1", 322, 112, 56, 9},
    {K::ComboDropList, 1122, "", 380, 110, 56, 100},
    {K::Static, 1428, "Type Tot2", 322, 127, 56, 9},
    {K::ComboDropList, 1124, "", 380, 125, 56, 100},
    {K::Static, 1429, "Poids", 322, 142, 56, 9},
    {K::ComboDropList, 1127, "", 380, 140, 56, 100},
    {K::Static, 1128, "Largeur Pulse", 322, 157, 56, 9},
    {K::ComboDropList, 1129, "", 380, 155, 56, 100},
    {K::CheckBox, 1135, "Synchronisation avec heure PC", 322, 176, 142, 10},
    {K::CheckBox, 1139, "RAZ Tot1", 322, 188, 142, 10},
    {K::CheckBox, 1145, "RAZ Tot2", 322, 200, 142, 10},
    {K::StaticFrame, 1011, "", 6, 231, 300, 12},
    {K::BitmapButton, 1035, "SAVEDISK", 334, 223, 30, 26},
    {K::BitmapButton, 1045, "PRINT", 368, 223, 30, 26},
    {K::BitmapButton, 1036, "TRANSFERT", 402, 223, 30, 26},
    {K::BitmapButton, 1198, "COMPARE", 436, 223, 30, 26},
    {K::DefaultButton, 1050, "", 0, 0, 1, 1},
};
inline constexpr DialogTemplate kCalibration{183, "Etalonnage", 474, 255, nullptr, 8, kCalibrationControls};

}  // namespace vantor::templates
