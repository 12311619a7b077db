#include "editor/tools/VM4_UnavailableDialogs.h"

#include "platform/VM4_MessageBoxes.h"

std::string TUnavailableDialogs::NotAvailableText(const std::string& dialog) {
    return "The " + dialog + " dialog is not available yet.";
}

void TUnavailableDialogs::sayNotAvailable(const std::string& dialog) { boxes_.ShowInformation(NotAvailableText(dialog)); }

bool TUnavailableDialogs::EditPumpData(TNetwork&, std::int32_t, bool) {
    sayNotAvailable("pump data");
    return false;
}

void TUnavailableDialogs::EditPipeFittings(TNetwork&, std::int32_t, bool) { sayNotAvailable("pipe fittings"); }

void TUnavailableDialogs::EditComponentPressure(TNetwork&, std::int32_t, bool) {
    sayNotAvailable("fixed pressure loss");
}

void TUnavailableDialogs::EditFlowControl(TNetwork&, std::int32_t, bool) { sayNotAvailable("flow control"); }

void TUnavailableDialogs::EditDemands(TNetwork&, std::int32_t) { sayNotAvailable("flow demands"); }

bool TUnavailableDialogs::EditFreeText(TNetwork&, std::int32_t) {
    sayNotAvailable("free text");
    return false;
}

void TUnavailableDialogs::EditPipeDiameter(TNetwork&, std::int32_t, int, bool) { sayNotAvailable("pipe diameter"); }

void TUnavailableDialogs::EditPipeSize(TPipe&, std::int32_t, bool, bool) { sayNotAvailable("pipe diameter"); }

void TUnavailableDialogs::EditFluid(TNetwork&, bool) { sayNotAvailable("fluid"); }

void TUnavailableDialogs::EditDefaultPipe(TNetwork&) { sayNotAvailable("default pipe"); }
