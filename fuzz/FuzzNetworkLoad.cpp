// libFuzzer target for network file loading. Any input must either load or be
// refused with an EVelmoraError that leaves the document cleared; a loaded
// network must save to a file that loads again and saves to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "foundations/VM4_Errors.h"
#include "model/VM4_Network_Class.h"

namespace {

[[noreturn]] void failInvariant(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

bool isCleared(const TNetwork& network) {
    return network.GetNodeCount() == 0 && network.GetPipeCount() == 0 && network.GetNodeLinkCount() == 0 &&
           network.GetClosedPipeLinkCount() == 0 && network.GetPipeLoopCount() == 0 &&
           network.GetFreeTextCount() == 0;
}

// One document for the whole run: it is large, and the editor reuses one too.
TNetwork& sharedNetwork() {
    static TNetwork* network = new TNetwork();
    return *network;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TNetwork& network = sharedNetwork();
    const std::string input(reinterpret_cast<const char*>(data), size);
    try {
        network.LoadFromBytes(input);
    } catch (const EVelmoraError&) {
        if (!isCleared(network)) failInvariant("a refused file left the document partly loaded");
        return 0;
    }
    const std::string firstSave = network.SaveToBytes();
    try {
        network.LoadFromBytes(firstSave);
    } catch (const EVelmoraError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        failInvariant("a saved network does not load again");
    }
    if (network.SaveToBytes() != firstSave) failInvariant("saving a reloaded network changed its bytes");
    return 0;
}
