#pragma once

// One sample refusal of every code, with every part its message uses filled in with ASCII, for
// the tests of the English and Russian texts. A code added without a sample here fails them.

#include <ostream>
#include <vector>

#include "scenario/refusal.h"

namespace prrsim::batch {

// Test failures show a refusal as its English text.
inline void PrintTo(const Refusal& r, std::ostream* os) {
    *os << englishText(r);
}

}  // namespace prrsim::batch

namespace prrsim::batch::testing {

inline std::vector<Refusal> refusalSamples() {
    using C = RefusalCode;
    const auto make = [](C code) {
        Refusal r = refusal(code);
        r.value = "\"v42\"";
        r.other = "w17";
        r.owner = "SA-6 Gainful";
        r.detail = "syntax error while parsing value";
        r.names = {"alpha", "beta"};
        r.type = JsonType::Array;
        r.list = RefusalList::LaunchModes;
        r.table = RefusalTable::Missile;
        r.thing = RefusedThing::Complex;
        r.file = FileKind::Campaign;
        r.number = 7;
        r.count = 5;
        r.min = 2;
        r.max = 9;
        r.realMin = -1e6;
        r.realMax = 1e6;
        r.line = 3;
        r.column = 14;
        return r;
    };
    std::vector<Refusal> samples;
    for (const C code : {C::Missing,
                         C::MissingForKind,
                         C::NotObject,
                         C::NotString,
                         C::NotArray,
                         C::NotList,
                         C::NotInteger,
                         C::NotBoolean,
                         C::NotNumber,
                         C::ScenarioNotObject,
                         C::CampaignNotObject,
                         C::UnknownStart,
                         C::OutsideRange,
                         C::OutsideRealRange,
                         C::EmptyRange,
                         C::NotOneOf,
                         C::UnknownOp,
                         C::UnknownField,
                         C::UnknownTopField,
                         C::UnknownCampaignField,
                         C::NeedsOneOf,
                         C::TickOrder,
                         C::DuplicateKey,
                         C::JsonSyntax,
                         C::NumberOverflow,
                         C::JsonMalformed,
                         C::TooDeep,
                         C::NulByte,
                         C::FileCannotOpen,
                         C::FileCannotRead,
                         C::NotRegularFile,
                         C::FileTooLarge,
                         C::Cancelled,
                         C::NoSuchRow,
                         C::TableFull,
                         C::TypeOffersNone,
                         C::CannotBlink,
                         C::Refused,
                         C::NotTableOperation,
                         C::UnknownOperation,
                         C::NotText,
                         C::NotFinite,
                         C::NotWholeNumber,
                         C::NotSeed,
                         C::DrawsNumbers,
                         C::NoValueAbove,
                         C::NotAboveZero,
                         C::NotAboveZeroMetres,
                         C::NormalTooNarrow,
                         C::NotNonEmptyString,
                         C::NotPointerString,
                         C::NotPointer,
                         C::PointerNamesNothing,
                         C::NeedsOneKind,
                         C::NotNonEmptyList,
                         C::MissingScenario,
                         C::BaseFileUnreadable,
                         C::BaseFileMalformed,
                         C::BaseScenarioRefused,
                         C::NotFileOrObject,
                         C::VariedTwice,
                         C::PointersOverlap,
                         C::NameUsedTwice,
                         C::TooManyCombinations,
                         C::TooManyRuns,
                         C::NotListedName,
                         C::PlotLinesSameAsX,
                         C::RunValuesRefused,
                         C::OptionNeedsValue,
                         C::OptionTwiceOrEmpty,
                         C::OptionTwice,
                         C::EveryNotWhole,
                         C::ThreadsNotWhole,
                         C::ShardNotFraction,
                         C::UnknownOption,
                         C::MoreThanOneFile,
                         C::NoFile,
                         C::WouldOverwriteScenario,
                         C::SameOutputFile,
                         C::MergeOutNotOnce,
                         C::MergeNeedsDirectories}) {
        samples.push_back(make(code));
    }
    // The refusals that wrap another carry one.
    for (Refusal& r : samples) {
        if (r.code == C::BaseFileMalformed || r.code == C::BaseScenarioRefused ||
            r.code == C::RunValuesRefused) {
            Refusal inner = make(C::TickOrder);
            r.cause = {inner};
        }
    }
    return samples;
}

}  // namespace prrsim::batch::testing
