#include "scenario/refusal.h"

#include <cmath>
#include <cstdint>

namespace prrsim::batch {

namespace {

std::string quoted(const std::string& s) {
    return "\"" + s + "\"";
}

std::string joined(const std::vector<std::string>& names, const char* separator) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : separator) + name;
    }
    return text;
}

std::string quotedList(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + quoted(name);
    }
    return text;
}

// "radar types", "launch modes of "X"", ...
std::string listText(RefusalList list, const std::string& owner) {
    const std::string of = " of " + quoted(owner);
    switch (list) {
        case RefusalList::None:
            return "";
        case RefusalList::ScenarioTicks:
            return "scenario's ticks";
        case RefusalList::RadarTypes:
            return "radar types";
        case RefusalList::SamComplexes:
            return "SAM complexes";
        case RefusalList::MissileTypes:
            return "missile types";
        case RefusalList::LaunchModes:
            return "launch modes" + of;
        case RefusalList::BlinkSettings:
            return "blink settings" + of;
        case RefusalList::ScanMethods:
            return "scan methods" + of;
        case RefusalList::EmissionModes:
            return "emission modes" + of;
    }
    return "";
}

// What a type offers none of: the list's name without its owner.
std::string offerText(RefusalList list) {
    switch (list) {
        case RefusalList::BlinkSettings:
            return "blink settings";
        case RefusalList::ScanMethods:
            return "scan methods";
        case RefusalList::EmissionModes:
            return "emission modes";
        default:
            return listText(list, "");
    }
}

std::string rowText(RefusalTable table) {
    switch (table) {
        case RefusalTable::Aircraft:
            return "an aircraft";
        case RefusalTable::Radar:
            return "a radar";
        case RefusalTable::PlacedComplex:
            return "a placed complex";
        case RefusalTable::Missile:
            return "a missile";
    }
    return "";
}

std::string tableText(RefusalTable table) {
    switch (table) {
        case RefusalTable::Aircraft:
            return "aircraft";
        case RefusalTable::Radar:
            return "radar";
        case RefusalTable::PlacedComplex:
            return "placed-complex";
        case RefusalTable::Missile:
            return "missile";
    }
    return "";
}

std::string thingText(RefusedThing thing) {
    switch (thing) {
        case RefusedThing::Radar:
            return "radar";
        case RefusedThing::Complex:
            return "complex";
        case RefusedThing::Missile:
            return "missile";
        case RefusedThing::Reaction:
            return "reaction";
    }
    return "";
}

std::string fileText(FileKind file) {
    return file == FileKind::Scenario ? "scenario" : "campaign";
}

std::string typed(const Refusal& r) {
    return std::string(jsonTypeName(r.type)) + (r.value.empty() ? "" : " " + r.value);
}

std::string range(int64_t min, int64_t max) {
    return std::to_string(min) + ".." + std::to_string(max);
}

std::string causeText(const Refusal& r) {
    return r.cause.empty() ? std::string() : englishText(r.cause.front());
}

}  // namespace

std::string escapedControls(const std::string& message) {
    std::string out;
    out.reserve(message.size());
    for (const char ch : message) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7f) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 0xf];
        } else {
            out += ch;
        }
    }
    return out;
}

const char* jsonTypeName(JsonType type) {
    switch (type) {
        case JsonType::Null:
            return "null";
        case JsonType::Object:
            return "object";
        case JsonType::Array:
            return "array";
        case JsonType::String:
            return "string";
        case JsonType::Boolean:
            return "boolean";
        case JsonType::Number:
            return "number";
        case JsonType::Binary:
            return "binary";
        case JsonType::Discarded:
            return "discarded";
    }
    return "";
}

std::string limitText(double limit) {
    constexpr double kWholeBelow = 1e6;
    if (limit == std::trunc(limit) && std::fabs(limit) < kWholeBelow) {
        return std::to_string(static_cast<int64_t>(limit));
    }
    double mantissa = limit;
    int exponent = 0;
    while (mantissa != 0 && std::fmod(mantissa, 10) == 0) {
        mantissa /= 10;
        ++exponent;
    }
    if (mantissa == std::trunc(mantissa) && std::fabs(mantissa) < kWholeBelow) {
        return std::to_string(static_cast<int64_t>(mantissa)) + "e" + std::to_string(exponent);
    }
    return std::to_string(limit);
}

std::string englishText(const Refusal& r) {
    switch (r.code) {
        case RefusalCode::Missing:
            return "missing";
        case RefusalCode::MissingForKind:
            return "missing (kind " + quoted(r.value) + " needs it)";
        case RefusalCode::NotObject:
            return "must be an object, not " + typed(r);
        case RefusalCode::NotString:
            return "must be a string, not " + typed(r);
        case RefusalCode::NotArray:
            return "must be an array, not " + typed(r);
        case RefusalCode::NotList:
            return "must be a list, not " + typed(r);
        case RefusalCode::NotInteger:
            return "must be an integer, not " + typed(r);
        case RefusalCode::NotBoolean:
            return "must be true or false, not " + typed(r);
        case RefusalCode::NotNumber:
            return "must be a number, not " + typed(r);
        case RefusalCode::ScenarioNotObject:
            return "the scenario must be a JSON object, not " + typed(r);
        case RefusalCode::CampaignNotObject:
            return "a campaign must be a JSON object, not " + typed(r);
        case RefusalCode::UnknownStart:
            return "must be \"default\" or \"empty\", not " + r.value;
        case RefusalCode::OutsideRange:
            return r.value + " is outside " + range(r.min, r.max) +
                   (r.list == RefusalList::None ? "" : " (the " + listText(r.list, r.owner) + ")");
        case RefusalCode::OutsideRealRange:
            return r.value + " is outside " + limitText(r.realMin) + ".." + limitText(r.realMax);
        case RefusalCode::EmptyRange:
            return r.value + " is not allowed: there are no (the " + listText(r.list, r.owner) +
                   ")";
        case RefusalCode::NotOneOf:
            return r.value + " is not one of " + quotedList(r.names);
        case RefusalCode::UnknownOp:
            return "unknown op " + quoted(r.value);
        case RefusalCode::UnknownField:
            return "unknown field (" + r.value + " takes " +
                   (r.names.empty() ? std::string("no fields") : joined(r.names, ", ")) + ")";
        case RefusalCode::UnknownTopField:
            return "unknown field (a scenario has " + joined(r.names, ", ") + ")";
        case RefusalCode::UnknownCampaignField:
            return "unknown field (allowed: " + joined(r.names, ", ") + ")";
        case RefusalCode::NeedsOneOf:
            return "needs at least one of " + joined(r.names, ", ");
        case RefusalCode::TickOrder:
            return std::to_string(r.number) + " comes before the previous action's tick " +
                   std::to_string(r.min) + " (actions must be sorted by tick)";
        case RefusalCode::DuplicateKey:
            return "malformed JSON: key " + quoted(r.value) + " appears twice in one object";
        case RefusalCode::JsonSyntax:
            return "malformed JSON: parse error at line " + std::to_string(r.line) + ", column " +
                   std::to_string(r.column) + ": " + r.detail;
        case RefusalCode::NumberOverflow:
            return "malformed JSON: number overflow parsing '" + r.value + "'";
        case RefusalCode::JsonMalformed:
            return r.detail.empty() ? std::string("malformed JSON") : "malformed JSON: " + r.detail;
        case RefusalCode::TooDeep:
            return "malformed JSON: nested deeper than " + std::to_string(r.max) + " levels";
        case RefusalCode::NulByte:
            return "malformed JSON: a NUL byte at offset " + std::to_string(r.number);
        case RefusalCode::FileCannotOpen:
            return "cannot open the " + fileText(r.file) + " file";
        case RefusalCode::FileCannotRead:
            return "cannot read the " + fileText(r.file) + " file";
        case RefusalCode::NotRegularFile:
            return "not a regular file";
        case RefusalCode::FileTooLarge:
            return "larger than " + std::to_string(r.max) + " MiB";
        case RefusalCode::Cancelled:
            return "reading cancelled";
        case RefusalCode::NoSuchRow:
            return std::to_string(r.number) + " is not " + rowText(r.table) +
                   " position now (there are " + std::to_string(r.count) + ")";
        case RefusalCode::TableFull:
            return "the " + tableText(r.table) + " table is full (" + std::to_string(r.max) + ")";
        case RefusalCode::TypeOffersNone:
            return quoted(r.owner) + " offers no " + offerText(r.list);
        case RefusalCode::CannotBlink:
            return quoted(r.owner) + " cannot blink";
        case RefusalCode::Refused:
            return "the " + thingText(r.thing) + " was refused";
        case RefusalCode::NotTableOperation:
            return "not " + rowText(r.table) + " operation";
        case RefusalCode::UnknownOperation:
            return "unknown operation";
        case RefusalCode::NotText:
            return "must be a string, not " + r.value;
        case RefusalCode::NotFinite:
            return r.value + " is not a finite number";
        case RefusalCode::NotWholeNumber:
            return "must be a whole number from " + std::to_string(r.min) + " to " +
                   std::to_string(r.max) + ", not " + r.value;
        case RefusalCode::NotSeed:
            return "must be a whole number from 0 to " + std::to_string(UINT64_MAX) + ", not " +
                   r.value;
        case RefusalCode::DrawsNumbers:
            return "draws numbers, but the base scenario holds " + r.value + " there";
        case RefusalCode::NoValueAbove:
            return r.value + " leaves no value above min " + r.other;
        case RefusalCode::NotAboveZero:
            return "must be above 0, not " + r.value;
        case RefusalCode::NotAboveZeroMetres:
            return "must be above 0 metres, not " + r.value;
        case RefusalCode::NormalTooNarrow:
            return "min and max leave less than 1 % of the distribution";
        case RefusalCode::NotNonEmptyString:
            return "must be a non-empty string, not " + r.value;
        case RefusalCode::NotPointerString:
            return "must be a JSON Pointer string such as \"/actions/2/x\", not " + r.value;
        case RefusalCode::NotPointer:
            return quoted(r.value) +
                   " is not a JSON Pointer (it starts with / and names members and array "
                   "positions, e.g. \"/actions/2/x\")";
        case RefusalCode::PointerNamesNothing:
            return quoted(r.value) + " does not name a value of the base scenario";
        case RefusalCode::NeedsOneKind:
            return "give exactly one of values (a list), uniform or normal";
        case RefusalCode::NotNonEmptyList:
            return "must be a non-empty list, not " + r.value;
        case RefusalCode::MissingScenario:
            return "missing (a scenario file name, or the scenario itself)";
        case RefusalCode::BaseFileUnreadable:
            return r.value + ": cannot read the scenario file";
        case RefusalCode::BaseFileMalformed:
            return r.value + ": " + causeText(r);
        case RefusalCode::BaseScenarioRefused:
            return "the base scenario is refused: " + r.value + ": " +
                   escapedControls(causeText(r));
        case RefusalCode::NotFileOrObject:
            return "must be a file name or a scenario object, not " + typed(r);
        case RefusalCode::VariedTwice:
            return quoted(r.value) + " is varied twice";
        case RefusalCode::PointersOverlap:
            return quoted(r.value) + " overlaps the varied " + quoted(r.other) +
                   "; vary one of them";
        case RefusalCode::NameUsedTwice:
            return quoted(r.value) + " is used twice";
        case RefusalCode::TooManyCombinations:
            return "more than " + std::to_string(r.max) + " combinations";
        case RefusalCode::TooManyRuns:
            return std::to_string(r.number) + " combinations of " + std::to_string(r.count) +
                   " repetitions exceed " + std::to_string(r.max) + " runs";
        case RefusalCode::NotListedName:
            return r.value + " is not the name of a varied value with a list of values";
        case RefusalCode::RunValuesRefused:
            return "run " + std::to_string(r.number) + " (" + r.value +
                   "): the scenario reader refuses these values: " + r.other + ": " +
                   escapedControls(causeText(r));
        case RefusalCode::PlotLinesSameAsX:
            return "must differ from plot.x";
        case RefusalCode::OptionNeedsValue:
            return r.value + " needs a value";
        case RefusalCode::OptionTwiceOrEmpty:
            return r.value + " given twice or empty";
        case RefusalCode::OptionTwice:
            return r.value + " given twice";
        case RefusalCode::EveryNotWhole:
            return "--every " + r.value +
                   ": must be given once, as a whole number of ticks, 1 or more";
        case RefusalCode::ThreadsNotWhole:
            return "--threads " + r.value + ": must be given once, a whole number from 1 to " +
                   std::to_string(r.max);
        case RefusalCode::ShardNotFraction:
            return "--shard " + r.value + ": must be given once, as K/N with 0 <= K < N";
        case RefusalCode::UnknownOption:
            return "unknown option " + r.value;
        case RefusalCode::MoreThanOneFile:
            return "more than one " + fileText(r.file) + " file";
        case RefusalCode::NoFile:
            return "no " + fileText(r.file) + " file";
        case RefusalCode::WouldOverwriteScenario:
            return r.value + " " + r.other + ": would overwrite the scenario file";
        case RefusalCode::SameOutputFile:
            return joined(r.names, " and ") + " name the same file " + r.value;
        case RefusalCode::MergeOutNotOnce:
            return "--out needs one value, given once";
        case RefusalCode::MergeNeedsDirectories:
            return "needs the shard directories and --out";
        case RefusalCode::Count:
            break;
    }
    return "refused";
}

}  // namespace prrsim::batch
