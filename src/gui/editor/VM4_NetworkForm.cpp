#include "editor/VM4_NetworkForm.h"

namespace {

// Base of the window title; the leading blank is part of it.
const QString kProgramTitle = QStringLiteral(" Velmora Studio");

}  // namespace

TNetworkForm::TNetworkForm(const TNetworkFormServices& services, QWidget* parent)
    : QMainWindow(parent), services_(services) {
    setWindowTitle(kProgramTitle);
}

TNetworkForm::~TNetworkForm() = default;
