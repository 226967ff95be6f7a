// STUB: to be replaced by the real catalogue.
#include "catalog/radar_catalog.h"

namespace prrsim {

void fillRadarCatalog(RadarCatalog& catalog) { catalog = RadarCatalog{}; }

const RadarCatalog& radarCatalog() {
    static const RadarCatalog catalog = [] {
        RadarCatalog c;
        fillRadarCatalog(c);
        return c;
    }();
    return catalog;
}

const ScanMethod& scanMethodOf(const RadarType& type, int32_t scanMethod) {
    static const ScanMethod none{};
    if (scanMethod < 0 || scanMethod >= type.scanMethodCount) {
        return none;
    }
    return type.scanMethods[scanMethod];
}

const PrfMode& prfModeOf(const RadarType& type, int32_t prfMode) {
    if (prfMode < 0 || prfMode >= type.prfModeCount) {
        return type.prfModes[0];
    }
    return type.prfModes[prfMode];
}

std::string prfModeLabel(const PrfMode&, char) { return {}; }

}  // namespace prrsim
