#include "ui/object_names.h"

#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "ui/ui_text.h"

namespace prrsim::ui {

QString numberText(int32_t number) {
    return QStringLiteral("№") + QString::number(number);
}

QString aircraftName(const WorldState& world, int32_t row) {
    return validAircraft(world, row)
               ? QStringLiteral("Самолёт ") + numberText(aircraftAt(world, row).number)
               : absentText();
}

QString radarName(const WorldState& world, int32_t row) {
    return validRadar(world, row) ? QStringLiteral("РЛС ") + numberText(radarAt(world, row).number)
                                  : absentText();
}

QString missileName(const WorldState& world, int32_t row) {
    return validMissile(world, row)
               ? QStringLiteral("Ракета ") + numberText(missileAt(world, row).review.number)
               : absentText();
}

QString aircraftNumber(const WorldState& world, int32_t row) {
    return validAircraft(world, row) ? numberText(aircraftAt(world, row).number) : absentText();
}

QString radarNumber(const WorldState& world, int32_t row) {
    return validRadar(world, row) ? numberText(radarAt(world, row).number) : absentText();
}

int32_t radarLabelNumber(const WorldState& world, const RadarSite& radar) {
    if (validPlacedComplex(world, radar.placedComplex)) {
        const PlacedComplex& pc = placedComplexAt(world, radar.placedComplex);
        if (pc.memberCount > 0 && validRadar(world, pc.members[0])) {
            return radarAt(world, pc.members[0]).number;
        }
    }
    return radar.number;
}

QString radarLabel(const WorldState& world, const RadarSite& radar) {
    QString name;
    if (validPlacedComplex(world, radar.placedComplex)) {
        const int32_t complex = placedComplexAt(world, radar.placedComplex).complexIndex;
        if (complex >= 0 && complex < samComplexCount()) {
            name = fromView(samComplex(complex).name);
        }
    } else if (radar.typeIndex >= 0 && radar.typeIndex < radarTypeCount()) {
        name = fromView(radarType(radar.typeIndex).name);
    }
    return name + QStringLiteral(" ") + numberText(radarLabelNumber(world, radar));
}

QString missileLabel(const Missile& missile) {
    const QString name = missile.typeIndex >= 0 && missile.typeIndex < missileTypeCount()
                             ? fromView(missileType(missile.typeIndex).name)
                             : QString();
    return name + QStringLiteral(" ") + numberText(missile.review.number);
}

}  // namespace prrsim::ui
