// The Help menu: the help window's pages, the vendor's web page and About.

#include "editor/VM4_HelpForm.h"
#include "editor/VM4_NetworkForm.h"
#include "editor/VM4_SplashScreenForm.h"
#include "platform/VM4_MessageBoxes.h"

namespace {

constexpr int kAboutMilliseconds = 6000;

}  // namespace

void TNetworkForm::showHelpPage(const char* page) { helpForm_->ShowPage(page); }

void TNetworkForm::Contents1Click() { showHelpPage(THelpForm::ContentsPage); }

void TNetworkForm::Index1Click() { showHelpPage(THelpForm::IndexPage); }

void TNetworkForm::ReviewExampleSystems2Click() { showHelpPage(THelpForm::ThreeReservoirsPage); }

void TNetworkForm::WalkThroughExample1Click() { showHelpPage(THelpForm::StepByStepPage); }

void TNetworkForm::WebPageClick() {
    if (!services_.OpenUrl(VendorWebAddress))
        services_.MessageBoxes->ShowInformation(std::string("No web browser could be found to view ") +
                                                VendorWebAddress + ".\r\rPlease open the address in your browser.");
}

void TNetworkForm::About1Click() {
    if (splashForm_ == nullptr) splashForm_ = new TSplashScreenForm(this);
    splashForm_->ShowFor(kAboutMilliseconds);
}
