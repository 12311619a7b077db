#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ScriptedUserMessages.h"
#include "common/NetworkBuilder.h"
#include "model/VM4_Network_Class.h"

// A network document on the heap (its matrix engine alone takes some 35 MB),
// carrying a fluid of round numbers: 1000 kg/m³ and 1 cP, so that a metre of
// water is a metre of fluid and 1 bar is 100000 / (1000·9.80665) m. The
// scripted user answers its questions.
class TDriverFixture : public ::testing::Test {
protected:
    TDriverFixture() : network(std::make_unique<TNetwork>()), build(*network) {
        network->Fluid.Density_kg_m3 = 1000.0;
        network->Fluid.DynamicViscosity_cP = 1.0;
        network->UserMessages = &user;
    }

    // The open links in table order.
    std::vector<TNodeLink> OpenLinks() const {
        std::vector<TNodeLink> links;
        for (std::int32_t k = 1; k <= network->GetNodeLinkCount(); ++k) links.push_back(network->GetNodeLink(k));
        return links;
    }

    std::unique_ptr<TNetwork> network;
    TNetworkBuilder build;
    TScriptedUserMessages user;
    std::vector<std::string> log;
};

// 1 bar as metres of the fixture's fluid: 100000 / (1000 · 9.80665).
inline constexpr double kMetresPerBar = 100000.0 / (1000.0 * 9.80665);
