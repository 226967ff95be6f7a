// STUB: to be replaced by the real catalogue.
#include "catalog/missile_catalog.h"

namespace prrsim {

void fillMissileCatalog(MissileCatalog& catalog) { catalog = MissileCatalog{}; }

const MissileCatalog& missileCatalog() {
    static const MissileCatalog catalog = [] {
        MissileCatalog c;
        fillMissileCatalog(c);
        return c;
    }();
    return catalog;
}

}  // namespace prrsim
