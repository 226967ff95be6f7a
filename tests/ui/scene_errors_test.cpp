// Refusals in Russian: every code has its text, made from the refusal's parts alone.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>
#include <functional>
#include <string>
#include <type_traits>

#include "support/refusal_samples.h"
#include "ui/scene_errors.h"

namespace prrsim::ui {
namespace {

using batch::Refusal;
using batch::RefusalCode;

bool hasCyrillic(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x0400 && c.unicode() <= 0x04ff) {
            return true;
        }
    }
    return false;
}

TEST(SceneErrors, EveryCodeHasItsOwnRussianText) {
    QSet<QString> texts;
    for (const Refusal& r : batch::testing::refusalSamples()) {
        const QString text = russianText(r);
        SCOPED_TRACE(text.toStdString());
        EXPECT_TRUE(hasCyrillic(text));
        for (const char* placeholder : {"{", "%1", "%2"}) {
            EXPECT_FALSE(text.contains(QLatin1String(placeholder)));
        }
        EXPECT_NE(text, russianText(batch::refusal(RefusalCode::Count)));  // not the fallback
        EXPECT_FALSE(texts.contains(text)) << "two codes give the same text";
        texts.insert(text);
    }
}

// A reason that used to be matched against its English wording fell through to the window in
// English as soon as that wording changed. The Russian text is now made from the refusal's
// code and parts: nothing renders a string, and no English word of the reason shows.
TEST(SceneErrors, ChangedEnglishWordingCannotReachTheWindow) {
    static_assert(!std::is_invocable_v<decltype(&russianText), const std::string&>);
    static_assert(!std::is_constructible_v<Refusal, std::string>);
    // Latin words a Russian text may hold of its own: JSON's words and the options' names.
    const QSet<QString> ownWords = {"JSON",  "true",    "false",  "default", "empty",  "plot",
                                    "min",   "max",     "values", "uniform", "normal", "actions",
                                    "every", "threads", "shard",  "out"};
    const QRegularExpression latinWord(QStringLiteral("[A-Za-z]{2,}"));
    for (const Refusal& r : batch::testing::refusalSamples()) {
        QString text = russianText(r);
        // The parts taken from the input are shown as they are.
        for (const std::string& part : {r.value, r.other, r.owner, r.detail}) {
            text.remove(QString::fromStdString(part));
        }
        for (const std::string& name : r.names) {
            text.remove(QString::fromStdString(name));
        }
        SCOPED_TRACE(batch::englishText(r));
        for (auto it = latinWord.globalMatch(text); it.hasNext();) {
            const QString word = it.next().captured();
            EXPECT_TRUE(ownWords.contains(word))
                << word.toStdString() << " in " << russianText(r).toStdString();
        }
    }
}

Refusal with(RefusalCode code, const std::function<void(Refusal&)>& fill) {
    Refusal r = batch::refusal(code);
    fill(r);
    return r;
}

struct RussianRow {
    Refusal refusal;
    const char* text;
};

// The wordings the windows have shown (and the pictures hold).
TEST(SceneErrors, RussianTextsOfTypedParts) {
    using C = RefusalCode;
    const RussianRow rows[] = {
        {with(C::OutsideRange,
              [](Refusal& r) {
                  r.value = "3";
                  r.max = 2;
                  r.list = batch::RefusalList::LaunchModes;
                  r.owner = "AGM-88C HARM";
              }),
         "3 вне пределов 0..2 (режимы пуска «AGM-88C HARM»)"},
        {with(C::OutsideRealRange,
              [](Refusal& r) {
                  r.value = "1e7";
                  r.realMin = -1e6;
                  r.realMax = 1e6;
              }),
         "1e7 вне пределов -1e6..1e6"},
        {with(C::TickOrder,
              [](Refusal& r) {
                  r.number = 4;
                  r.min = 5;
              }),
         "такт 4 раньше такта предыдущего действия (5): действия идут по порядку тактов"},
        {with(C::TypeOffersNone,
              [](Refusal& r) {
                  r.owner = "Шилка";
                  r.list = batch::RefusalList::ScanMethods;
              }),
         "у «Шилка» нет методов обзора"},
        {with(C::NoSuchRow,
              [](Refusal& r) {
                  r.table = batch::RefusalTable::Radar;
                  r.number = 6;
                  r.count = 6;
              }),
         "в этот момент нет РЛС с номером 6 (всего 6)"},
        {with(C::JsonSyntax,
              [](Refusal& r) {
                  r.line = 4;
                  r.column = 3;
                  r.detail = "syntax error";
              }),
         "файл не в формате JSON: ошибка в строке 4, позиция 3"},
        {with(C::UnknownField, [](Refusal& r) { r.value = "addAircraft"; }),
         "лишнее поле (у addAircraft полей нет)"},
        {with(C::NotInteger,
              [](Refusal& r) {
                  r.type = batch::JsonType::String;
                  r.value = "\"1\"";
              }),
         "должно быть целым числом (здесь: \"1\")"},
        {with(C::NotObject, [](Refusal& r) { r.type = batch::JsonType::Number; }),
         "должно быть объектом (здесь: число)"},
        {with(C::UnknownOp, [](Refusal& r) { r.value = "a\nb"; }),
         "неизвестная операция «a\\u000ab»"},
        {with(C::TableFull,
              [](Refusal& r) {
                  r.table = batch::RefusalTable::PlacedComplex;
                  r.max = 10;
              }),
         "таблица комплексов ЗРК заполнена (10)"},
    };
    for (const RussianRow& row : rows) {
        EXPECT_EQ(russianText(row.refusal), QString::fromUtf8(row.text))
            << batch::englishText(row.refusal);
    }
}

TEST(SceneErrors, SceneErrorNamesThePlaceAndTheReason) {
    batch::ScenarioError error{"bad.json",
                               3,
                               "setFrequency",
                               300,
                               "percent",
                               with(RefusalCode::OutsideRange, [](Refusal& r) {
                                   r.value = "120";
                                   r.max = 100;
                               })};
    EXPECT_EQ(sceneErrorText(error),
              QStringLiteral("Сцена не открыта: файл «bad.json».\nДействие 3 (setFrequency), такт "
                             "300 (0:00:03.00), поле «percent»: 120 вне пределов 0..100.\n\n"
                             "Текущая сцена не изменилась."));
}

}  // namespace
}  // namespace prrsim::ui
