#include "ui/scene_errors.h"

#include <QStringList>
#include <cerrno>
#include <cstdint>
#include <vector>

#include "ui/main_window.h"

namespace prrsim::ui {

namespace {

// Control characters echoed from a file are shown as escapes, as the reader's own line does.
QString shown(const std::string& text) {
    QString out;
    for (const QChar c : QString::fromStdString(text)) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
}

QString jsonTypeText(batch::JsonType type) {
    switch (type) {
        case batch::JsonType::Object:
            return QStringLiteral("объект");
        case batch::JsonType::Array:
            return QStringLiteral("массив");
        case batch::JsonType::String:
            return QStringLiteral("строка");
        case batch::JsonType::Boolean:
            return QStringLiteral("true или false");
        case batch::JsonType::Number:
            return QStringLiteral("число");
        case batch::JsonType::Null:
        case batch::JsonType::Binary:
        case batch::JsonType::Discarded:
            break;
    }
    return QString::fromLatin1(batch::jsonTypeName(type));
}

QString guillemets(const std::string& text) {
    return "«" + shown(text) + "»";
}

QString number(int64_t n) {
    return QString::number(n);
}

QString listOf(const std::vector<std::string>& names, bool quote) {
    QStringList out;
    for (const std::string& name : names) {
        out << (quote ? guillemets(name) : shown(name));
    }
    return out.join(QStringLiteral(", "));
}

// "типы РЛС", "режимы пуска «…»", ... as they follow a range.
QString listText(const batch::Refusal& r) {
    const QString of = " " + guillemets(r.owner);
    switch (r.list) {
        case batch::RefusalList::None:
            return QString();
        case batch::RefusalList::ScenarioTicks:
            return QStringLiteral("такты сцены");
        case batch::RefusalList::RadarTypes:
            return QStringLiteral("типы РЛС");
        case batch::RefusalList::SamComplexes:
            return QStringLiteral("комплексы ЗРК");
        case batch::RefusalList::MissileTypes:
            return QStringLiteral("типы ракет");
        case batch::RefusalList::LaunchModes:
            return "режимы пуска" + of;
        case batch::RefusalList::BlinkSettings:
            return "значения мерцания" + of;
        case batch::RefusalList::ScanMethods:
            return "методы обзора" + of;
        case batch::RefusalList::EmissionModes:
            return "режимы сигнала" + of;
    }
    return QString();
}

// What a radar type offers none of, after "нет".
QString offerText(batch::RefusalList list) {
    switch (list) {
        case batch::RefusalList::BlinkSettings:
            return QStringLiteral("значений мерцания");
        case batch::RefusalList::ScanMethods:
            return QStringLiteral("методов обзора");
        case batch::RefusalList::EmissionModes:
            return QStringLiteral("режимов сигнала");
        default:
            return QStringLiteral("значений");
    }
}

// The table's object in the genitive: "нет самолёта с номером …".
QString rowText(batch::RefusalTable table) {
    switch (table) {
        case batch::RefusalTable::Aircraft:
            return QStringLiteral("самолёта");
        case batch::RefusalTable::Radar:
            return QStringLiteral("РЛС");
        case batch::RefusalTable::PlacedComplex:
            return QStringLiteral("комплекса ЗРК");
        case batch::RefusalTable::Missile:
            return QStringLiteral("ракеты");
    }
    return QString();
}

// The table's objects in the genitive plural: "таблица самолётов заполнена".
QString tableText(batch::RefusalTable table) {
    switch (table) {
        case batch::RefusalTable::Aircraft:
            return QStringLiteral("самолётов");
        case batch::RefusalTable::Radar:
            return QStringLiteral("РЛС");
        case batch::RefusalTable::PlacedComplex:
            return QStringLiteral("комплексов ЗРК");
        case batch::RefusalTable::Missile:
            return QStringLiteral("ракет");
    }
    return QString();
}

QString operationText(batch::RefusalTable table) {
    switch (table) {
        case batch::RefusalTable::Aircraft:
            return QStringLiteral("это не операция самолёта");
        case batch::RefusalTable::Radar:
            return QStringLiteral("это не операция РЛС");
        case batch::RefusalTable::PlacedComplex:
            return QStringLiteral("это не операция комплекса ЗРК");
        case batch::RefusalTable::Missile:
            return QStringLiteral("это не операция ракеты");
    }
    return QString();
}

QString refusedText(batch::RefusedThing thing) {
    switch (thing) {
        case batch::RefusedThing::Radar:
            return QStringLiteral("РЛС не добавлена");
        case batch::RefusedThing::Complex:
            return QStringLiteral("комплекс не добавлен");
        case batch::RefusedThing::Missile:
            return QStringLiteral("ракета не добавлена");
        case batch::RefusedThing::Reaction:
            return QStringLiteral("реакция на ПРР не задана");
    }
    return QString();
}

QString fileText(batch::FileKind file) {
    return file == batch::FileKind::Scenario ? QStringLiteral("сцены") : QStringLiteral("кампании");
}

// "(здесь: …)": the value found, or its type when the value is not quoted.
QString found(const batch::Refusal& r) {
    return " (здесь: " + (r.value.empty() ? jsonTypeText(r.type) : shown(r.value)) + ")";
}

QString causeText(const batch::Refusal& r) {
    return r.cause.empty() ? QString() : russianText(r.cause.front());
}

QString capitalized(const QString& text) {
    return text.isEmpty() ? text : text.left(1).toUpper() + text.mid(1);
}

}  // namespace

QString russianText(const batch::Refusal& r) {
    using C = batch::RefusalCode;
    const QString value = shown(r.value);
    switch (r.code) {
        case C::Missing:
            return QStringLiteral("не задано");
        case C::MissingForKind:
            return "не задано (нужно для вида " + guillemets(r.value) + ")";
        case C::NotObject:
            return "должно быть объектом" + found(r);
        case C::NotString:
            return "должно быть строкой" + found(r);
        case C::NotArray:
            return "должно быть массивом" + found(r);
        case C::NotList:
            return "должно быть списком" + found(r);
        case C::NotInteger:
            return "должно быть целым числом" + found(r);
        case C::NotBoolean:
            return "должно быть true или false" + found(r);
        case C::NotNumber:
            return "должно быть числом" + found(r);
        case C::ScenarioNotObject:
            return "сцена должна быть объектом JSON" + found(r);
        case C::CampaignNotObject:
            return "кампания должна быть объектом JSON" + found(r);
        case C::UnknownStart:
            return "должно быть \"default\" или \"empty\"" + found(r);
        case C::OutsideRange:
            return value + " вне пределов " + number(r.min) + ".." + number(r.max) +
                   (r.list == batch::RefusalList::None ? QString() : " (" + listText(r) + ")");
        case C::OutsideRealRange:
            return value + " вне пределов " + QString::fromStdString(batch::limitText(r.realMin)) +
                   ".." + QString::fromStdString(batch::limitText(r.realMax));
        case C::EmptyRange:
            return value + " недопустимо: пусто (" + listText(r) + ")";
        case C::NotOneOf:
            return value + " — не из списка: " + listOf(r.names, true);
        case C::UnknownOp:
            return "неизвестная операция " + guillemets(r.value);
        case C::UnknownField:
            return r.names.empty()
                       ? "лишнее поле (у " + value + " полей нет)"
                       : "лишнее поле (у " + value + " есть поля " + listOf(r.names, false) + ")";
        case C::UnknownTopField:
            return "лишнее поле (у сцены есть поля " + listOf(r.names, false) + ")";
        case C::UnknownCampaignField:
            return "лишнее поле (допустимы поля " + listOf(r.names, false) + ")";
        case C::NeedsOneOf:
            return "нужно хотя бы одно из полей " + listOf(r.names, false);
        case C::TickOrder:
            return "такт " + number(r.number) + " раньше такта предыдущего действия (" +
                   number(r.min) + "): действия идут по порядку тактов";
        case C::DuplicateKey:
            return "файл не в формате JSON: ключ " + guillemets(r.value) +
                   " повторён в одном объекте";
        case C::JsonSyntax:
            return "файл не в формате JSON: ошибка в строке " + number(r.line) + ", позиция " +
                   number(r.column);
        case C::NumberOverflow:
            return "файл не в формате JSON: число " + value + " слишком велико";
        case C::JsonMalformed:
            return QStringLiteral("файл не в формате JSON");
        case C::TooDeep:
            return "файл не в формате JSON: вложенность глубже " + number(r.max) + " уровней";
        case C::NulByte:
            return "файл не в формате JSON: нулевой байт в позиции " + number(r.number);
        case C::FileCannotOpen:
            return QStringLiteral("файл не открывается");
        case C::FileCannotRead:
            return QStringLiteral("файл не читается");
        case C::NotRegularFile:
            return QStringLiteral("это не файл");
        case C::FileTooLarge:
            return "файл больше " + number(r.max) + " МиБ";
        case C::Cancelled:
            return QStringLiteral("чтение прервано");
        case C::NoSuchRow:
            return "в этот момент нет " + rowText(r.table) + " с номером " + number(r.number) +
                   " (всего " + number(r.count) + ")";
        case C::TableFull:
            return "таблица " + tableText(r.table) + " заполнена (" + number(r.max) + ")";
        case C::TypeOffersNone:
            return "у " + guillemets(r.owner) + " нет " + offerText(r.list);
        case C::CannotBlink:
            return guillemets(r.owner) + " не может мерцать";
        case C::Refused:
            return refusedText(r.thing);
        case C::NotTableOperation:
            return operationText(r.table);
        case C::UnknownOperation:
            return QStringLiteral("неизвестная операция");
        case C::NotText:
            return "должно быть текстом" + found(r);
        case C::NotFinite:
            return value + " — не конечное число";
        case C::NotWholeNumber:
            return "должно быть целым числом от " + number(r.min) + " до " + number(r.max) +
                   found(r);
        case C::NotSeed:
            return "должно быть целым числом от 0 до " + QString::number(UINT64_MAX) + found(r);
        case C::DrawsNumbers:
            return "разыгрываются числа, а в базовой сцене здесь " + value;
        case C::NoValueAbove:
            return "между min " + shown(r.other) + " и max " + value + " нет ни одного значения";
        case C::NotAboveZero:
            return "должно быть больше 0" + found(r);
        case C::NotAboveZeroMetres:
            return "должно быть больше 0 метров" + found(r);
        case C::NormalTooNarrow:
            return QStringLiteral("между min и max меньше 1 % распределения");
        case C::NotNonEmptyString:
            return "должно быть непустой строкой" + found(r);
        case C::NotPointerString:
            return "должно быть строкой с указателем JSON вида \"/actions/2/x\"" + found(r);
        case C::NotPointer:
            return guillemets(r.value) +
                   " — не указатель JSON (он начинается с / и называет "
                   "поля и позиции в списках, например \"/actions/2/x\")";
        case C::PointerNamesNothing:
            return "в базовой сцене нет значения " + guillemets(r.value);
        case C::NeedsOneKind:
            return QStringLiteral("нужно ровно одно из полей values (список), uniform или normal");
        case C::NotNonEmptyList:
            return "должно быть непустым списком" + found(r);
        case C::MissingScenario:
            return QStringLiteral("не задано (имя файла сцены или сама сцена)");
        case C::BaseFileUnreadable:
            return "файл " + guillemets(r.value) + " не читается";
        case C::BaseFileMalformed:
            return "файл " + guillemets(r.value) + ": " + causeText(r);
        case C::BaseScenarioRefused:
            return "базовая сцена отклонена (" + value + "): " + causeText(r);
        case C::NotFileOrObject:
            return "должно быть именем файла или объектом сцены" + found(r);
        case C::VariedTwice:
            return guillemets(r.value) + " меняется дважды";
        case C::PointersOverlap:
            return guillemets(r.value) + " пересекается с уже изменяемым " + guillemets(r.other) +
                   "; оставьте одно из них";
        case C::NameUsedTwice:
            return "имя " + guillemets(r.value) + " использовано дважды";
        case C::TooManyCombinations:
            return "больше " + number(r.max) + " сочетаний";
        case C::TooManyRuns:
            return number(r.number) + " сочетаний по " + number(r.count) + " повторений — больше " +
                   number(r.max) + " прогонов";
        case C::NotListedName:
            return value + " — не имя изменяемого значения со списком значений";
        case C::RunValuesRefused:
            return "прогон " + number(r.number) + " (" + value +
                   "): сцена с этими значениями отклонена (" + shown(r.other) +
                   "): " + causeText(r);
        case C::PlotLinesSameAsX:
            return QStringLiteral("должно отличаться от plot.x");
        case C::OptionNeedsValue:
            return "у " + value + " нет значения";
        case C::OptionTwiceOrEmpty:
            return value + " задан дважды или пуст";
        case C::OptionTwice:
            return value + " задан дважды";
        case C::EveryNotWhole:
            return "--every " + value + ": задаётся один раз, целым числом тактов от 1";
        case C::ThreadsNotWhole:
            return "--threads " + value + ": задаётся один раз, целым числом от 1 до " +
                   number(r.max);
        case C::ShardNotFraction:
            return "--shard " + value + ": задаётся один раз, в виде K/N, где 0 <= K < N";
        case C::UnknownOption:
            return "неизвестный параметр " + value;
        case C::MoreThanOneFile:
            return "задано больше одного файла " + fileText(r.file);
        case C::NoFile:
            return "не задан файл " + fileText(r.file);
        case C::WouldOverwriteScenario:
            return value + " " + shown(r.other) + ": файл сцены был бы перезаписан";
        case C::SameOutputFile:
            return listOf(r.names, false) + ": один и тот же файл " + value;
        case C::MergeOutNotOnce:
            return QStringLiteral("--out задаётся один раз и со значением");
        case C::MergeNeedsDirectories:
            return QStringLiteral("нужны папки частей и --out");
        case C::Count:
            break;
    }
    return QStringLiteral("отказ");
}

QString sceneErrorText(const batch::ScenarioError& error) {
    QStringList where;
    if (error.action >= 0) {
        where << QStringLiteral("действие %1").arg(error.action) +
                     (error.op.empty() ? QString() : " (" + shown(error.op) + ")");
        if (error.tick >= 0) {
            where << QStringLiteral("такт %1 (%2)").arg(error.tick).arg(clockText(error.tick));
        }
    }
    if (!error.field.empty()) {
        where << "поле «" + shown(error.field) + "»";
    }
    const QString reason = russianText(error.refusal);
    const QString detail = where.isEmpty()
                               ? capitalized(reason)
                               : capitalized(where.join(QStringLiteral(", "))) + ": " + reason;
    return "Сцена не открыта: файл «" + shown(error.source) + "».\n" + detail +
           ".\n\nТекущая сцена не изменилась.";
}

QString writeFailureReason(const batch::WriteFailure& failure) {
    switch (failure.error) {
        case ENOSPC:
        case EDQUOT:
            return QStringLiteral("не хватает места на диске");
        case EACCES:
        case EPERM:
            return QStringLiteral("нет прав на запись");
        case EROFS:
            return QStringLiteral("диск только для чтения");
        case ENOENT:
        case ENOTDIR:
            return QStringLiteral("нет такой папки");
        case EFBIG:
            return QStringLiteral("файл слишком велик");
        case EISDIR:
            return QStringLiteral("под этим именем папка");
        default:
            break;
    }
    switch (failure.step) {
        case batch::WriteStep::Create:
            return QStringLiteral("файл не создаётся");
        case batch::WriteStep::Rename:
            return QStringLiteral("не удалось заменить прежний файл");
        default:
            return QStringLiteral("ошибка записи");
    }
}

QString saveErrorText(const QString& path, const batch::WriteFailure& failure) {
    return "Сцена не сохранена в файл «" + path + "»: " + writeFailureReason(failure) +
           ".\n\nПрежний файл не изменён; сеанс остаётся в программе.";
}

}  // namespace prrsim::ui
