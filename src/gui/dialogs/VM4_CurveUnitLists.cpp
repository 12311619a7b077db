#include "dialogs/VM4_CurveUnitLists.h"

#include <algorithm>
#include <cstddef>

#include "foundations/VM4_Units.h"

const std::vector<int>& PumpFlowUnitItems() {
    static const std::vector<int> items = {UNIT_M3_SEC,   UNIT_M3_MIN,   UNIT_M3_HOUR,  UNIT_L_SEC,   UNIT_L_MIN,
                                           UNIT_L_HOUR,   UNIT_FT3_SEC,  UNIT_FT3_MIN,  UNIT_FT3_HOUR, UNIT_IN3_SEC,
                                           UNIT_IN3_MIN,  UNIT_IN3_HOUR, UNIT_UK_GPM,   UNIT_US_GPM};
    return items;
}

const std::vector<std::string>& PumpFlowUnitCaptions() {
    static const std::vector<std::string> captions = {"m³/sec",   "m³/min",  "m³/hour",  "l/sec",   "l/min",
                                                      "l/hour",   "ft³/sec", "ft³/min",  "ft³/hour", "in³/sec",
                                                      "in³/min",  "in³/hour", "UK gpm",  "US gpm"};
    return captions;
}

const std::vector<int>& PumpHeadUnitItems() {
    static const std::vector<int> items = {UNIT_M_H2O, UNIT_MM_H2O, UNIT_FT_H2O, UNIT_IN_H2O, UNIT_BAR_G,
                                           UNIT_PSI_G, UNIT_KPA_G,  UNIT_MM_HG,  UNIT_IN_HG,  UNIT_M_HD,
                                           UNIT_MM_HD, UNIT_FT_HD,  UNIT_IN_HD};
    return items;
}

int PumpNPSHrUnitForHeadItem(int item) {
    static const std::vector<int> npshr = {UNIT_M_H2O, UNIT_MM_H2O, UNIT_FT_H2O, UNIT_IN_H2O, UNIT_M_H2O,
                                           UNIT_FT_H2O, UNIT_M_H2O, UNIT_MM_HG,  UNIT_IN_HG,  UNIT_M_HD,
                                           UNIT_MM_HD,  UNIT_FT_HD, UNIT_IN_HD};
    return npshr.at(static_cast<std::size_t>(item));
}

const std::vector<std::string>& PumpHeadUnitCaptions() {
    static const std::vector<std::string> captions = {"m.H²O",  "mm.H²O", "ft.H²O", "in.H²O",  "bar.g",
                                                      "psi.g",  "kPa.g",  "mm Hg",  "in. Hg",  "m Fluid",
                                                      "mm Fluid", "ft Fluid", "in. Fluid"};
    return captions;
}

const std::vector<int>& ComponentFlowUnitItems() { return PumpFlowUnitItems(); }

const std::vector<std::string>& ComponentFlowUnitCaptions() {
    static const std::vector<std::string> captions = {"m³/sec",   "m³/min",  "m³/hour",  "l/sec",   "l/min",
                                                      "l/hour",   "ft³/sec", "ft³/min",  "ft³/hour,", "in³/sec",
                                                      "in³/min",  "in³/hour", "gpm,UK",  "gpm,US"};
    return captions;
}

const std::vector<int>& ComponentLossUnitItems() {
    static const std::vector<int> items = {UNIT_M_HD,   UNIT_MM_HD,  UNIT_FT_HD,  UNIT_IN_HD, UNIT_M_H2O,
                                           UNIT_MM_H2O, UNIT_FT_H2O, UNIT_IN_H2O, UNIT_BAR_G, UNIT_PSI_G,
                                           UNIT_KPA_G,  UNIT_MM_HG,  UNIT_IN_HG};
    return items;
}

const std::vector<std::string>& ComponentLossUnitCaptions() {
    static const std::vector<std::string> captions = {"m Fluid", "mm Fluid", "ft Fluid", "in. Fluid", "m.H²O",
                                                      "mm.H²O",  "ft.H²O",   "in.H²O",   "bar.g",     "psi.g",
                                                      "kPa.g",   "mm Hg",    "in. Hg"};
    return captions;
}

int ItemOfUnit(const std::vector<int>& items, int unit) {
    const auto found = std::find(items.begin(), items.end(), unit);
    return found == items.end() ? 0 : static_cast<int>(found - items.begin());
}
