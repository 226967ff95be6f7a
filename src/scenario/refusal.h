#pragma once

// Why an input is refused, as a value: a code and the typed parts its message needs. The
// command line writes it in English (englishText), the windows in Russian; neither reads the
// other's text.

#include <cstdint>
#include <string>
#include <vector>

namespace prrsim::batch {

enum class RefusalCode {
    // A value of a scenario or campaign file.
    Missing,               // -
    MissingForKind,        // value: the kind that needs the field
    NotObject,             // type
    NotString,             // type; value (the echoed value) when given
    NotArray,              // type
    NotList,               // type
    NotInteger,            // type, value
    NotBoolean,            // type, value
    NotNumber,             // type, value
    ScenarioNotObject,     // type
    CampaignNotObject,     // type
    UnknownStart,          // value
    OutsideRange,          // value, min, max; list (and owner) when the range is a list's
    OutsideRealRange,      // value, realMin, realMax
    EmptyRange,            // value, list
    NotOneOf,              // value, names
    UnknownOp,             // value: the op
    UnknownField,          // value: the op; names: its fields
    UnknownTopField,       // names: the scenario's fields
    UnknownCampaignField,  // names: the fields allowed there
    NeedsOneOf,            // names
    TickOrder,             // number: the tick; min: the previous action's tick
    // The text of a file.
    DuplicateKey,    // value: the key
    JsonSyntax,      // line, column; detail: the parser's own words
    NumberOverflow,  // value: the number's text
    JsonMalformed,   // detail (may be empty)
    TooDeep,         // max: the deepest nesting allowed
    NulByte,         // number: the offset
    // A file.
    FileCannotOpen,  // file
    FileCannotRead,  // file
    NotRegularFile,  // -
    FileTooLarge,    // max: MiB
    Cancelled,       // - (reading given up through its progress report)
    // An action applied to the world as it stands.
    NoSuchRow,          // table, number: the position, count: the rows there are
    TableFull,          // table, max: its capacity
    TypeOffersNone,     // owner: the radar type, list
    CannotBlink,        // owner: the radar type
    Refused,            // thing
    NotTableOperation,  // table: aircraft, radar or missile
    UnknownOperation,   // -
    // A campaign file.
    NotText,              // value: where a string was expected
    NotFinite,            // value
    NotWholeNumber,       // value, min, max
    NotSeed,              // value
    DrawsNumbers,         // value: what the base scenario holds
    NoValueAbove,         // value: max, other: min
    NotAboveZero,         // value
    NotAboveZeroMetres,   // value
    NormalTooNarrow,      // -
    NotNonEmptyString,    // value
    NotPointerString,     // value
    NotPointer,           // value: the pointer
    PointerNamesNothing,  // value: the pointer
    NeedsOneKind,         // -
    NotNonEmptyList,      // value
    MissingScenario,      // -
    BaseFileUnreadable,   // value: the file
    BaseFileMalformed,    // value: the file; cause: why its text is refused
    BaseScenarioRefused,  // value: where in the base scenario; cause: why
    NotFileOrObject,      // type
    VariedTwice,          // value: the pointer
    PointersOverlap,      // value: the pointer, other: the pointer varied before
    NameUsedTwice,        // value: the name
    TooManyCombinations,  // max: the most runs
    TooManyRuns,          // number: combinations, count: repetitions, max: the most runs
    NotListedName,        // value
    PlotLinesSameAsX,     // -
    RunValuesRefused,     // number: the run, value: its values, other: where; cause: why
    // The command line.
    OptionNeedsValue,        // value: the option
    OptionTwiceOrEmpty,      // value: the option
    OptionTwice,             // value: the option
    EveryNotWhole,           // value: what was given
    ThreadsNotWhole,         // value: what was given, max
    ShardNotFraction,        // value: what was given
    UnknownOption,           // value: the option
    MoreThanOneFile,         // file
    NoFile,                  // file
    WouldOverwriteScenario,  // value: the option, other: its file
    SameOutputFile,          // names: the two options, value: the file
    MergeOutNotOnce,         // -
    MergeNeedsDirectories,   // -
    Count,
};

inline constexpr int kRefusalCodeCount = static_cast<int>(RefusalCode::Count);

// The JSON type of a value found where another was expected.
enum class JsonType { Null, Object, Array, String, Boolean, Number, Binary, Discarded };

// The list a range or an offer refers to; the last four belong to one catalogue type (owner).
enum class RefusalList {
    None,
    ScenarioTicks,
    RadarTypes,
    SamComplexes,
    MissileTypes,
    LaunchModes,
    BlinkSettings,
    ScanMethods,
    EmissionModes,
};

// The world's tables, as a position or a capacity is refused in them.
enum class RefusalTable { Aircraft, Radar, PlacedComplex, Missile };

// What the core refused to add or set.
enum class RefusedThing { Radar, Complex, Missile, Reaction };

// The kind of file a message names.
enum class FileKind { Scenario, Campaign };

struct Refusal {
    bool operator==(const Refusal&) const = default;

    RefusalCode code = RefusalCode::Missing;
    // Texts taken from the input are already bounded (and JSON values echoed) when stored.
    std::string value;
    std::string other;
    std::string owner;  // a catalogue type's name
    std::string detail;
    std::vector<std::string> names;
    JsonType type = JsonType::Null;
    RefusalList list = RefusalList::None;
    RefusalTable table = RefusalTable::Aircraft;
    RefusedThing thing = RefusedThing::Radar;
    FileKind file = FileKind::Scenario;
    int64_t number = 0;
    int64_t count = 0;
    int64_t min = 0;
    int64_t max = 0;
    double realMin = 0;
    double realMax = 0;
    int64_t line = 0;
    int64_t column = 0;
    // The refusal behind this one (at most one): a base scenario's or file's own.
    std::vector<Refusal> cause;
};

// A refusal of just a code, for those that need no more.
inline Refusal refusal(RefusalCode code) {
    Refusal r;
    r.code = code;
    return r;
}

// The refusal in English, as the command line writes it after its place.
std::string englishText(const Refusal& refusal);

// `text` with its control characters written as escapes ("\\n", "\\u0001"), so that a message
// quoting the input stays one line.
std::string escapedControls(const std::string& text);

// The English name of a JSON type, as in "not object".
const char* jsonTypeName(JsonType type);

// A limit of a real-valued range as messages write it: whole numbers below a million in full,
// larger round ones as "1e6".
std::string limitText(double limit);

}  // namespace prrsim::batch
