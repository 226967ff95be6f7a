#include "catalog/missile_catalog.h"

#include <gtest/gtest.h>

#include <map>
#include <string_view>
#include <utility>
#include <vector>

namespace prrsim {
namespace {

TEST(MissileCatalog, ListsSixteenNamesInOrderWithExactLetters) {
    const std::vector<std::string_view> names = {
        "AGM-45 Shrike B-2",
        "Х-25МП с ПРГС-1ВП",
        "Х-58",
        "AGM-88C HARM",
        "ALARM",
        "Х-27ПС с ПРГС-1ВП",
        "Х-27ПС с ПРГС-2ВП",
        "Х-25МП с ПРГС-2ВП",
        "AGM-45 Shrike B-3",
        "AGM-45 Shrike B-3\u0410",  // Cyrillic А
        "AGM-45 Shrike B-3\u0412",  // Cyrillic В
        "AGM-45 Shrike B-4",
        "AGM-45 Shrike B-7",
        "AGM-45 Shrike B-9",
        "AGM-45 Shrike B-9A",  // Latin A
        "AGM-45 Shrike B-10",
    };
    ASSERT_EQ(missileTypeCount(), 16);
    for (int32_t i = 0; i < missileTypeCount(); ++i) {
        EXPECT_EQ(missileType(i).name, names[i]) << "entry " << i;
    }
    // The Russian missiles start with the Cyrillic letter Х, not the Latin X.
    EXPECT_EQ(missileType(2).name.substr(0, 2), "\u0425");
    EXPECT_EQ(missileType(14).name.back(), 'A');
}

struct ModeListRow {
    int32_t type;
    std::vector<std::string_view> modes;
};

class MissileCatalogModes : public ::testing::TestWithParam<ModeListRow> {};

TEST_P(MissileCatalogModes, ListsLaunchModesInOrder) {
    const ModeListRow& row = GetParam();
    const MissileType& t = missileType(row.type);
    ASSERT_EQ(t.launchModeCount, static_cast<int32_t>(row.modes.size()));
    for (int32_t i = 0; i < t.launchModeCount; ++i) {
        EXPECT_EQ(t.launchModes[i].name, row.modes[i]) << "mode " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Entries, MissileCatalogModes,
    ::testing::Values(
        ModeListRow{0, {"захват цели ГСН и пуск"}}, ModeListRow{1, {"захват цели ГСН и пуск"}},
        ModeListRow{2, {"целеуказание и пуск", "пуск по известной цели"}},
        ModeListRow{3,
                    {"самозахват и пуск", "пуск по обнаруженной цели", "пуск по известной цели"}},
        ModeListRow{4,
                    {"директорный режим", "режим барражирования", "смешанный режим",
                     "режим подавления", "универсальный режим"}},
        ModeListRow{5, {"целеуказание и пуск"}}, ModeListRow{6, {"целеуказание и пуск"}},
        ModeListRow{7, {"захват цели ГСН и пуск"}}, ModeListRow{9, {"захват цели ГСН и пуск"}},
        ModeListRow{15, {"захват цели ГСН и пуск"}}));

TEST(MissileCatalog, EmitterCapsMemoryTimesAndChannelTables) {
    const int32_t maxEmitters[16] = {0, 0, 1, 10, 10, 3, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    // Channel tables (lower, upper, width) of entries 2, 3, 5, 6, 9 and 11 only.
    const std::map<int32_t, std::vector<double>> channels = {
        {2, {2200, 10500, 50}}, {3, {1100, 10000, 50}}, {5, {5000, 12000, 10}},
        {6, {5000, 12000, 10}}, {9, {2200, 4500, 50}},  {11, {3600, 6500, 100}}};
    for (int32_t i = 0; i < missileTypeCount(); ++i) {
        const MissileType& t = missileType(i);
        EXPECT_EQ(t.maxEmitters, maxEmitters[i]) << "entry " << i;
        // The final pass sets the memory times in every counted entry.
        EXPECT_EQ(t.paramsMemoryTime, 0.2) << "entry " << i;
        EXPECT_EQ(t.frequencyMemoryTime, 0.1) << "entry " << i;
        EXPECT_EQ(t.channelRule, 0) << "entry " << i;
        const auto table = channels.find(i);
        if (table == channels.end()) {
            EXPECT_EQ(t.channelTableCount, 0) << "entry " << i;
        } else {
            ASSERT_EQ(t.channelTableCount, 3) << "entry " << i;
            EXPECT_EQ(std::vector<double>(t.channelTable.begin(), t.channelTable.begin() + 3),
                      table->second)
                << "entry " << i;
        }
    }
}

TEST(MissileCatalog, SelectionListsOfHarmAndKh27) {
    const MissileType& harm = missileType(3);
    EXPECT_EQ(harm.selectionRule, 2);
    ASSERT_EQ(harm.priorityCount, 5);
    EXPECT_EQ(std::vector<int32_t>(harm.priorityList.begin(), harm.priorityList.begin() + 5),
              (std::vector<int32_t>{3, 4, 1, 2, 0}));
    EXPECT_EQ(harm.acceptAllTypes, 1);
    EXPECT_EQ(harm.useOwnTypeList, 0);
    for (const auto& [i, second] : {std::pair{5, 18}, std::pair{6, 19}}) {
        const MissileType& kh27 = missileType(i);
        EXPECT_EQ(kh27.selectionRule, 3);
        ASSERT_EQ(kh27.ownTypeCount, 2);
        EXPECT_EQ(kh27.ownTypeList[0], 10);
        EXPECT_EQ(kh27.ownTypeList[1], second);
        EXPECT_EQ(kh27.useOwnTypeList, 1);
        EXPECT_EQ(kh27.acceptAllTypes, 1);
    }
    for (int32_t i : {0, 1, 2, 4, 7, 8, 15}) {
        EXPECT_EQ(missileType(i).selectionRule, 0) << "entry " << i;
        EXPECT_EQ(missileType(i).priorityCount + missileType(i).ownTypeCount, 0) << "entry " << i;
    }
}

TEST(MissileCatalog, AirframeAndSeekerValuesOfSampleEntries) {
    const MissileType& alarm = missileType(4);
    EXPECT_EQ(alarm.bands, "EFGHIJ");
    EXPECT_EQ(alarm.measuresFrequency, 1);  // without a channel table
    EXPECT_EQ(alarm.launchMass, 268);
    EXPECT_EQ(alarm.fuelMass, 70);
    EXPECT_EQ(alarm.burnTime, 18);
    EXPECT_EQ(alarm.powerEndurance, 300);
    EXPECT_EQ(alarm.motorThrust, 37000);
    EXPECT_EQ(alarm.parachuteDragFactor, 0.64);
    EXPECT_EQ(alarm.sensitivity, 5e-07);
    EXPECT_EQ(alarm.wideSearch, 1);
    EXPECT_EQ(alarm.inertialDrift, 20);

    const MissileType& harm = missileType(3);
    EXPECT_EQ(harm.antennaArea, 0.19625);
    EXPECT_EQ(harm.hasProximityFuse, 1);
    EXPECT_EQ(harm.fuseDistance, 15);
    EXPECT_EQ(harm.inertialDrift, 0.085);
    EXPECT_EQ(harm.lockHoldTime, 3);
    EXPECT_EQ(harm.launchModes[2].climbProfile, 2);
    EXPECT_EQ(harm.launchModes[2].climbParameter, 0.0254);
    EXPECT_EQ(harm.launchModes[2].lossAction, 0);

    const MissileType& kh58 = missileType(2);
    EXPECT_EQ(kh58.headElevationMin, -47);
    EXPECT_EQ(kh58.bearingNoise, 1.7);
    EXPECT_EQ(kh58.separatesEmitters, 1);

    const LaunchMode& loiter = alarm.launchModes[1];
    EXPECT_EQ(loiter.waitingAltitude, 12000);
    EXPECT_EQ(loiter.startAtWaitingPoint, 1);
    EXPECT_EQ(loiter.climbProfile, 4);
    EXPECT_EQ(alarm.launchModes[2].lossAction, 2);
    EXPECT_EQ(alarm.launchModes[3].usesTargetList, 1);
    EXPECT_EQ(alarm.launchModes[3].targetListPriority, 1);
    EXPECT_EQ(alarm.launchModes[1].usesTargetList, 0);
}

TEST(MissileCatalog, ShrikeModificationsDifferFromEntryZeroOnlyInTheirOwnFields) {
    const MissileType& base = missileType(0);
    struct Own {
        int32_t type;
        std::string_view bands;
        uint8_t kinds;
        uint8_t measuresFrequency;
        uint8_t recognition;
    };
    for (const Own& own : {Own{8, "EF", 0, 0, 0}, Own{9, "EF", 0, 1, 2}, Own{10, "EF", 0, 0, 0},
                           Own{11, "G", 1, 1, 2}, Own{12, "EF", 0, 0, 0}, Own{13, "I", 0, 0, 0},
                           Own{14, "I", 1, 0, 0}, Own{15, "EFGHI", 0, 0, 0}}) {
        const MissileType& t = missileType(own.type);
        EXPECT_EQ(t.bands, own.bands) << own.type;
        EXPECT_EQ(t.emissionKinds, own.kinds) << own.type;
        EXPECT_EQ(t.measuresFrequency, own.measuresFrequency) << own.type;
        EXPECT_EQ(t.launchModes[0].recognitionLevel, own.recognition) << own.type;
        // Copied from entry 0.
        EXPECT_EQ(t.launchMass, base.launchMass) << own.type;
        EXPECT_EQ(t.motorThrust, base.motorThrust) << own.type;
        EXPECT_EQ(t.sensitivity, base.sensitivity) << own.type;
        EXPECT_EQ(t.headElevationMin, -45) << own.type;
        EXPECT_EQ(t.inertialDrift, 35) << own.type;
        EXPECT_EQ(t.launchModeCount, 1) << own.type;
        EXPECT_EQ(t.launchModes[0].diveAngle, -40) << own.type;
        EXPECT_EQ(t.launchModes[0].lossAction, 1) << own.type;
    }
    EXPECT_EQ(base.launchModes[0].recognitionLevel, 0);
}

TEST(MissileCatalog, FillIsRepeatableAndSpareSlotsCopyEntryZero) {
    MissileCatalog a;
    fillMissileCatalog(a);
    EXPECT_EQ(a.missileTypeCount, 16);
    for (int32_t i = 16; i < kMissileTypeCapacity; ++i) {
        EXPECT_EQ(a.types[i].name, "AGM-45 Shrike B-2");
        EXPECT_EQ(a.types[i].launchModeCount, 1);
    }
    MissileCatalog b;
    fillMissileCatalog(b);
    fillMissileCatalog(b);  // refilling starts from scratch
    for (int32_t i = 0; i < 16; ++i) {
        EXPECT_EQ(a.types[i].name, b.types[i].name);
        EXPECT_EQ(a.types[i].launchModeCount, b.types[i].launchModeCount);
        EXPECT_EQ(a.types[i].channelTableCount, b.types[i].channelTableCount);
    }
}

}  // namespace
}  // namespace prrsim
