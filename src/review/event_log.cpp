#include "review/event_log.h"

#include <cmath>

#include "review/csv.h"
#include "scenario/json_writer.h"
#include "catalog/missile_catalog.h"
#include "catalog/radar_catalog.h"
#include "radar/radar_reaction.h"

namespace prrsim::batch {

std::string_view radarTypeName(int32_t type) {
    return type >= 0 && type < radarTypeCount() ? radarType(type).name : std::string_view();
}

std::string_view missileTypeName(int32_t type) {
    return type >= 0 && type < missileTypeCount() ? missileType(type).name : std::string_view();
}

std::string_view launchModeName(int32_t type, int32_t mode) {
    if (missileTypeName(type).empty() || mode < 0 || mode >= missileType(type).launchModeCount) {
        return {};
    }
    return launchMode(type, mode).name;
}

namespace {

enum class Place { None, Ground, Air };  // which of x, y, altitude an event carries

// How each kind reads: its label, the name of its value, where it happened and the names of
// its radars in files.
struct KindText {
    std::string_view label;
    std::string_view valueKey;  // empty: no value
    Place place = Place::None;
    std::string_view radarKey = "radar";
    std::string_view secondRadarKey = "secondRadar";
};

constexpr KindText kKinds[kEventKindCount] = {
    {"Самолёт добавлен", "", Place::Air},
    {"Самолёт убран", ""},
    {"Цель атаки", ""},
    {"На боевом курсе", ""},
    {"Уход с боевого курса", ""},
    {"РЛС добавлена", "complex", Place::Ground},
    {"РЛС убрана", "", Place::Ground},
    {"РЛС перенесена", "", Place::Ground},
    {"Излучение включено", ""},
    {"Излучение выключено", ""},
    {"Мерцание", "period"},
    {"Мерцание выключено", ""},
    {"Подсвет включён", ""},
    {"Подсвет выключен", ""},
    {"Частота", "percent"},
    {"Сигнал", "mode"},
    {"Сопровождение начато", ""},
    {"Сопровождение прекращено", ""},
    {"Угроза ПРР", "reaction"},
    {"Угроза миновала", "reaction"},
    {"Ракета подвешена", "launchMode", Place::Air},
    {"Ракета активирована", "", Place::Air},
    {"Целеуказание", "", Place::Air},
    {"Захват начат", "cause", Place::Air},
    {"Захват отменён", "", Place::Air},
    {"ГСН включена", "switchOnDistance", Place::Air},
    {"Захват", "", Place::Air},
    {"Повторный захват", "", Place::Air},
    {"Захват потерян", "lossAction", Place::Air},
    {"ГСН перешла на другую РЛС", "", Place::Air, "radar", "previousRadar"},
    {"Пуск", "guidanceMode", Place::Air},
    {"Прямое наведение", "", Place::Air},
    {"В точку ожидания", "", Place::Air},
    {"Точка ожидания", "", Place::Air},
    {"Парашют", "", Place::Air},
    {"Питание исчерпано", "", Place::Air},
    {"Подрыв", "", Place::Air, "targetRadar", "nearestRadar"},
    {"Ракета снята с носителем", "", Place::Air},
    {"События потеряны", "count"},
};

const KindText& textOf(EventKind kind) {
    return kKinds[static_cast<int32_t>(kind)];
}

// A number for a sentence: rounded to `decimals` places, trailing zeros dropped, the decimal
// comma.
std::string spoken(double v, int decimals) {
    char buffer[64];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    std::string s(buffer, r.ptr);
    if (s.find('.') != std::string::npos) {
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.') {
            s.pop_back();
        }
    }
    if (s == "-0") {
        s = "0";
    }
    for (char& c : s) {
        c = c == '.' ? ',' : c;
    }
    return s;
}

std::string metres(double mapUnits) {
    return spoken(mapUnits * 100, 0) + " м";
}

std::string aircraftName(const ObjectRef& a) {
    return "самолёт №" + std::to_string(a.number);
}

std::string missileName(const ObjectRef& m) {
    return "ракета №" + std::to_string(m.number);
}

std::string radarName(const ObjectRef& r) {
    std::string s = "РЛС №" + std::to_string(r.number);
    if (const std::string_view type = radarTypeName(r.type); !type.empty()) {
        s += " «" + std::string(type) + "»";
    }
    return s;
}

std::string capitalised(std::string s) {
    // The sentences begin with "самолёт", "ракета" or "РЛС": only the first two need it.
    static constexpr std::string_view kLower[] = {"самолёт", "ракета"};
    static constexpr std::string_view kUpper[] = {"Самолёт", "Ракета"};
    for (size_t i = 0; i < 2; ++i) {
        if (s.starts_with(kLower[i])) {
            s.replace(0, kLower[i].size(), kUpper[i]);
        }
    }
    return s;
}

std::string emissionModeText(const WorldEvent& e) {
    if (radarTypeName(e.radar.type).empty()) {
        return "режим " + std::to_string(e.value);
    }
    const PrfMode& mode = prfModeOf(radarType(e.radar.type), e.value);
    if (!mode.pulsed) {
        return "непрерывный";
    }
    return "импульсный, ЧПИ " + std::to_string(mode.prf) + " Гц, " + spoken(mode.pulseWidth, 2) +
           " мкс";
}

std::string detonationText(const WorldEvent& e) {
    // The simulation lets a missile end a little below the ground; a reader sees the ground.
    std::string s =
        missileName(e.missile) + (e.altitude < 0 ? std::string(": подрыв у земли (0 м)")
                                                 : ": подрыв на высоте " + metres(e.altitude));
    if (!e.radar.present()) {
        s += ", цели нет";
    } else if (std::isfinite(e.distance)) {
        s += ", промах " + spoken(e.distance, 0) + " м по " + radarName(e.radar);
    } else {
        s += ", цель " + radarName(e.radar) + " убрана";
    }
    if (e.secondRadar.present()) {
        s += "; ближайшая — " + radarName(e.secondRadar) + " (" + spoken(e.distance2, 0) + " м)";
    }
    return s;
}

// What the crew did when a missile came within the warning distance, and what it undid.
std::string threatText(const WorldEvent& e) {
    std::string s = radarName(e.radar) + ": угроза — " + missileName(e.missile) + " в " +
                    spoken(e.distance / 1000, 1) + " км, ";
    switch (e.value) {
        case kReactionShutdown:
            return s + "излучение выключено";
        case kReactionBlink:
            return s + "мерцание " + std::to_string(e.value2);
        case kReactionHop:
            return s + "частота переведена на " + std::to_string(e.value2) + " % диапазона";
        default:
            return s + "реакция не потребовалась";
    }
}

std::string threatPassedText(const WorldEvent& e) {
    const std::string s = radarName(e.radar) + ": угроза миновала, ";
    switch (e.value) {
        case kReactionShutdown:
            return s + "излучение включено";
        case kReactionBlink:
            return s + "мерцание выключено";
        case kReactionHop:
            return s + "частота возвращена на " + std::to_string(e.value2) + " % диапазона";
        default:
            return s + "настройки оставлены как есть";
    }
}

std::string sentence(const WorldEvent& e) {
    const std::string aircraft = aircraftName(e.aircraft);
    const std::string missile = missileName(e.missile);
    const std::string radar = radarName(e.radar);
    switch (e.kind) {
        case EventKind::AircraftAdded:
            return aircraft + " добавлен";
        case EventKind::AircraftRemoved:
            return aircraft + " убран";
        case EventKind::AttackTargetChosen:
            return e.radar.present() ? aircraft + ": цель атаки — " + radar
                                     : aircraft + ": цель атаки снята";
        case EventKind::AttackRunStarted:
            return aircraft + " вышел на боевой курс на " + radar;
        case EventKind::AttackRunEnded:
            return aircraft + " ушёл с боевого курса";
        case EventKind::RadarAdded:
            return radar + " добавлена";
        case EventKind::RadarRemoved:
            return radar + " убрана";
        case EventKind::RadarPlaced:
            return radar + " перенесена в (" + spoken(e.x, 0) + ", " + spoken(e.y, 0) + ")";
        case EventKind::EmissionOn:
            return radar + ": излучение включено";
        case EventKind::EmissionOff:
            return radar + ": излучение выключено";
        case EventKind::BlinkStarted:
            return radar + ": мерцание " + std::to_string(e.value) + " (излучает один обзор из " +
                   std::to_string(e.value + 1) + ")";
        case EventKind::BlinkStopped:
            return radar + ": мерцание выключено";
        case EventKind::IlluminationOn:
            return radar + ": подсвет включён";
        case EventKind::IlluminationOff:
            return radar + ": подсвет выключен";
        case EventKind::FrequencyChanged:
            if (radarTypeName(e.radar.type).empty()) {
                return radar + ": частота " + std::to_string(e.value) + " % диапазона";
            }
            return radar + ": частота " + spoken(frequencyAt(e.radar.type, e.value), 0) + " МГц (" +
                   std::to_string(e.value) + " % диапазона)";
        case EventKind::EmissionModeChanged:
            return radar + ": сигнал — " + emissionModeText(e);
        case EventKind::RadarTargetAssigned:
            return radar + " сопровождает " + aircraft;
        case EventKind::RadarTargetDropped:
            return e.aircraft.present() ? radar + " прекратила сопровождение: " + aircraft
                                        : radar + " прекратила сопровождение";
        case EventKind::ThreatBegan:
            return threatText(e);
        case EventKind::ThreatPassed:
            return threatPassedText(e);
        case EventKind::MissileAdded:
            return missile + " «" + std::string(missileTypeName(e.missile.type)) + "» («" +
                   std::string(launchModeName(e.missile.type, e.value)) + "») подвешена на " +
                   aircraft;
        case EventKind::MissileActivated:
            return missile + ": активирована";
        case EventKind::TargetDesignated:
            return missile + ": целеуказание — " + radar;
        case EventKind::CaptureStarted:
            switch (e.value) {
                case kCaptureBySearch:
                    return missile + ": автоматический поиск выбрал излучатель, захват начат";
                case kCaptureAfterLoss:
                    return missile + ": повторный захват начат";
                default:
                    return missile + ": захват начат экипажем";
            }
        case EventKind::CaptureCancelled:
            return missile + ": захват отменён";
        case EventKind::SeekerSwitchedOn:
            return missile + ": ГСН включена (дальность включения " + std::to_string(e.value) +
                   " км)";
        case EventKind::Locked:
            return missile + ": захват " + radar;
        case EventKind::Relocked:
            return missile + ": повторный захват " + radar;
        case EventKind::LockLost:
            return missile + ": захват " + radar + " потерян";
        case EventKind::SeekerTargetSwitched:
            return missile + ": ГСН перешла с " + radarName(e.secondRadar) + " на " + radar;
        case EventKind::Launched:
            return missile + " «" + std::string(missileTypeName(e.missile.type)) +
                   "» пущена с самолёта №" + std::to_string(e.aircraft.number) + " на высоте " +
                   metres(e.altitude);
        case EventKind::DirectHoming:
            return missile + ": прямое наведение на цель";
        case EventKind::ToWaitingPoint:
            return missile + ": полёт в точку ожидания";
        case EventKind::WaitingPointReached:
            return missile + ": точка ожидания достигнута на высоте " + metres(e.altitude);
        case EventKind::ParachuteOpened:
            return missile + ": парашют раскрыт, поиск цели";
        case EventKind::PowerOut:
            return missile + ": бортовое питание исчерпано на высоте " + metres(e.altitude);
        case EventKind::Detonated:
            return detonationText(e);
        case EventKind::MissileRemoved:
            return missile + " снята вместе с носителем (" + aircraft + ")";
        case EventKind::EventsDropped:
            return "Потеряно событий: " + std::to_string(e.value) + " (очередь переполнена)";
    }
    return {};
}

void refJson(ObjectWriter& json, std::string_view key, const ObjectRef& ref,
             std::string_view typeName) {
    if (!ref.present()) {
        return;
    }
    const std::string k(key);
    if (ref.row >= 0) {
        json.integer(k, ref.row);
    }
    json.integer(k + "Number", ref.number);
    if (!typeName.empty()) {
        json.string(k + "Type", typeName);
    }
}

std::string_view captureCauseCode(int32_t cause) {
    switch (cause) {
        case kCaptureBySearch:
            return "search";
        case kCaptureAfterLoss:
            return "afterLoss";
        default:
            return "crew";
    }
}

}  // namespace

std::string_view eventKindLabel(EventKind kind) {
    return textOf(kind).label;
}

std::string describeEvent(const WorldEvent& event) {
    return capitalised(sentence(event));
}

std::string eventJsonLine(const WorldEvent& e) {
    const KindText& text = textOf(e.kind);
    std::string out;
    ObjectWriter json(out);
    json.integer("tick", e.tick).string("kind", eventKindCode(e.kind));
    refJson(json, "missile", e.missile, missileTypeName(e.missile.type));
    refJson(json, "aircraft", e.aircraft, {});
    refJson(json, text.radarKey, e.radar, radarTypeName(e.radar.type));
    refJson(json, text.secondRadarKey, e.secondRadar, radarTypeName(e.secondRadar.type));
    if (e.kind == EventKind::CaptureStarted) {
        json.string("cause", captureCauseCode(e.value));
    } else if (e.kind == EventKind::ThreatBegan || e.kind == EventKind::ThreatPassed) {
        json.string(text.valueKey, reactionKindCode(e.value)).integer("setting", e.value2);
    } else if (!text.valueKey.empty()) {
        json.integer(text.valueKey, e.value);
    }
    if (text.place != Place::None) {
        json.real("x", e.x).real("y", e.y);
    }
    if (text.place == Place::Air) {
        json.real("altitude", e.altitude);
    }
    if (e.kind == EventKind::Detonated) {
        json.real("missDistance", e.distance).real("nearestDistance", e.distance2);
    }
    if (e.kind == EventKind::ThreatBegan) {
        json.real("missileDistance", e.distance);
    }
    json.close();
    out += '\n';
    return out;
}

std::string eventCsvHeader() {
    return CsvRow()
        .text("Такт")
        .text("Время, с")
        .text("Код")
        .text("Событие")
        .text("Ракета №")
        .text("Тип ракеты")
        .text("Самолёт №")
        .text("РЛС №")
        .text("Тип РЛС")
        .text("Вторая РЛС №")
        .text("Значение")
        .text("X, пикс")
        .text("Y, пикс")
        .text("Высота, м")
        .text("Промах, м")
        .text("До ближайшей РЛС, м")
        .text("Описание")
        .line();
}

std::string eventCsvRow(const WorldEvent& e) {
    const KindText& text = textOf(e.kind);
    CsvRow row;
    row.integer(e.tick).real(static_cast<double>(e.tick) / 100, 2);
    row.text(eventKindCode(e.kind)).text(text.label);
    const auto number = [&row](const ObjectRef& ref) {
        if (ref.present()) {
            row.integer(ref.number);
        } else {
            row.empty();
        }
    };
    number(e.missile);
    row.text(missileTypeName(e.missile.type));
    number(e.aircraft);
    number(e.radar);
    row.text(radarTypeName(e.radar.type));
    number(e.secondRadar);
    if (text.valueKey.empty()) {
        row.empty();
    } else {
        row.integer(e.value);
    }
    if (text.place == Place::None) {
        row.empty().empty();
    } else {
        row.real(e.x, 3).real(e.y, 3);
    }
    if (text.place == Place::Air) {
        row.real(e.altitude * 100, 2);
    } else {
        row.empty();
    }
    row.real(e.distance, 2).real(e.distance2, 2);
    row.text(describeEvent(e));
    return row.line();
}

void writeEventsCsv(std::ostream& out, std::span<const WorldEvent> events) {
    out << kCsvByteOrderMark << eventCsvHeader();
    for (const WorldEvent& e : events) {
        out << eventCsvRow(e);
    }
}

void EventJsonWriter::onEvents(const WorldState&, std::span<const WorldEvent> events) {
    for (const WorldEvent& e : events) {
        out_ << eventJsonLine(e);
    }
}

EventCsvWriter::EventCsvWriter(std::ostream& out) : out_(out) {
    out_ << kCsvByteOrderMark << eventCsvHeader();
}

void EventCsvWriter::onEvents(const WorldState&, std::span<const WorldEvent> events) {
    for (const WorldEvent& e : events) {
        out_ << eventCsvRow(e);
    }
}

}  // namespace prrsim::batch
