#include "ui/scene_errors.h"

#include <QRegularExpression>
#include <QStringList>
#include <cerrno>
#include <functional>
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

QString jsonType(const QString& name) {
    static const std::vector<std::pair<QString, QString>> names = {
        {QStringLiteral("object"), QStringLiteral("объект")},
        {QStringLiteral("array"), QStringLiteral("массив")},
        {QStringLiteral("string"), QStringLiteral("строка")},
        {QStringLiteral("boolean"), QStringLiteral("true или false")},
        {QStringLiteral("number"), QStringLiteral("число")},
    };
    for (const auto& [english, russian] : names) {
        if (name == english) {
            return russian;
        }
    }
    return name;
}

// "the radar types", "the launch modes of "X"", ... as they follow a range.
QString listName(const QString& english) {
    static const std::vector<std::pair<QString, QString>> lists = {
        {QStringLiteral("scenario's ticks"), QStringLiteral("такты сцены")},
        {QStringLiteral("radar types"), QStringLiteral("типы РЛС")},
        {QStringLiteral("SAM complexes"), QStringLiteral("комплексы ЗРК")},
        {QStringLiteral("missile types"), QStringLiteral("типы ракет")},
        {QStringLiteral("launch modes of "), QStringLiteral("режимы пуска ")},
        {QStringLiteral("blink settings of "), QStringLiteral("значения мерцания ")},
        {QStringLiteral("scan methods of "), QStringLiteral("методы обзора ")},
        {QStringLiteral("emission modes of "), QStringLiteral("режимы сигнала ")},
    };
    for (const auto& [prefix, russian] : lists) {
        if (english.startsWith(prefix)) {
            QString rest = english.mid(prefix.size());
            if (rest.startsWith(QLatin1Char('"')) && rest.endsWith(QLatin1Char('"'))) {
                rest = "«" + rest.mid(1, rest.size() - 2) + "»";
            }
            return russian + rest;
        }
    }
    return english;
}

QString pick(const QString& key, const std::vector<std::pair<QString, QString>>& words) {
    for (const auto& [english, russian] : words) {
        if (key == english) {
            return russian;
        }
    }
    return key;
}

struct Rule {
    QRegularExpression pattern;
    std::function<QString(const QRegularExpressionMatch&)> say;
};

const std::vector<Rule>& rules() {
    using M = QRegularExpressionMatch;
    static const std::vector<Rule> all = {
        {QRegularExpression(QStringLiteral("^missing$")),
         [](const M&) { return QStringLiteral("не задано"); }},
        {QRegularExpression(QStringLiteral("^must be an object, not (\\w+)$")),
         [](const M& m) {
             return "должно быть объектом (здесь: " + jsonType(m.captured(1)) + ")";
         }},
        {QRegularExpression(QStringLiteral("^must be a string, not (\\w+)$")),
         [](const M& m) { return "должно быть строкой (здесь: " + jsonType(m.captured(1)) + ")"; }},
        {QRegularExpression(QStringLiteral("^must be an array, not (\\w+)$")),
         [](const M& m) {
             return "должно быть массивом (здесь: " + jsonType(m.captured(1)) + ")";
         }},
        {QRegularExpression(QStringLiteral("^must be an integer, not \\w+ (.*)$")),
         [](const M& m) { return "должно быть целым числом (здесь: " + m.captured(1) + ")"; }},
        {QRegularExpression(QStringLiteral("^must be true or false, not \\w+ (.*)$")),
         [](const M& m) { return "должно быть true или false (здесь: " + m.captured(1) + ")"; }},
        {QRegularExpression(QStringLiteral("^must be a number, not \\w+ (.*)$")),
         [](const M& m) { return "должно быть числом (здесь: " + m.captured(1) + ")"; }},
        {QRegularExpression(QStringLiteral("^must be \"default\" or \"empty\", not (.*)$")),
         [](const M& m) {
             return "должно быть \"default\" или \"empty\" (здесь: " + m.captured(1) + ")";
         }},
        {QRegularExpression(QStringLiteral("^the scenario must be a JSON object, not (\\w+)$")),
         [](const M& m) {
             return "сцена должна быть объектом JSON (здесь: " + jsonType(m.captured(1)) + ")";
         }},
        {QRegularExpression(QStringLiteral("^unknown op \"(.*)\"$")),
         [](const M& m) { return "неизвестная операция «" + m.captured(1) + "»"; }},
        {QRegularExpression(QStringLiteral("^unknown field \\((\\w+) takes no fields\\)$")),
         [](const M& m) { return "лишнее поле (у " + m.captured(1) + " полей нет)"; }},
        {QRegularExpression(QStringLiteral("^unknown field \\((\\w+) takes (.*)\\)$")),
         [](const M& m) {
             return "лишнее поле (у " + m.captured(1) + " есть поля " + m.captured(2) + ")";
         }},
        {QRegularExpression(QStringLiteral("^unknown field \\(a scenario has (.*)\\)$")),
         [](const M& m) { return "лишнее поле (у сцены есть поля " + m.captured(1) + ")"; }},
        {QRegularExpression(QStringLiteral("^needs at least one of (.*)$")),
         [](const M& m) { return "нужно хотя бы одно из полей " + m.captured(1); }},
        {QRegularExpression(QStringLiteral("^(-?\\d+) comes before the previous action's tick "
                                           "(-?\\d+) \\(actions must be sorted by tick\\)$")),
         [](const M& m) {
             return "такт " + m.captured(1) + " раньше такта предыдущего действия (" +
                    m.captured(2) + "): действия идут по порядку тактов";
         }},
        {QRegularExpression(
             QStringLiteral("^malformed JSON: key \"(.*)\" appears twice in one object$")),
         [](const M& m) {
             return "файл не в формате JSON: ключ «" + m.captured(1) + "» повторён в одном объекте";
         }},
        {QRegularExpression(
             QStringLiteral("^malformed JSON: parse error at line (\\d+), column (\\d+):")),
         [](const M& m) {
             return "файл не в формате JSON: ошибка в строке " + m.captured(1) + ", позиция " +
                    m.captured(2);
         }},
        {QRegularExpression(QStringLiteral("^malformed JSON: number overflow parsing '(.*)'$")),
         [](const M& m) {
             return "файл не в формате JSON: число " + m.captured(1) + " слишком велико";
         }},
        {QRegularExpression(
             QStringLiteral("^malformed JSON: nested deeper than (\\d+) levels$")),
         [](const M& m) {
             return "файл не в формате JSON: вложенность глубже " + m.captured(1) + " уровней";
         }},
        {QRegularExpression(QStringLiteral("^malformed JSON: a NUL byte at offset (\\d+)$")),
         [](const M& m) {
             return "файл не в формате JSON: нулевой байт в позиции " + m.captured(1);
         }},
        {QRegularExpression(QStringLiteral("^malformed JSON: ")),
         [](const M&) { return QStringLiteral("файл не в формате JSON"); }},
        {QRegularExpression(QStringLiteral(
             "^(\\S+) is outside (-?[0-9e]+)\\.\\.(-?[0-9e]+)(?: \\(the (.+)\\))?$")),
         [](const M& m) {
             QString text = m.captured(1) + " вне пределов " + m.captured(2) + ".." + m.captured(3);
             if (m.hasCaptured(4)) {
                 text += " (" + listName(m.captured(4)) + ")";
             }
             return text;
         }},
        {QRegularExpression(QStringLiteral("^(\\S+) is not allowed: there are no \\(the (.+)\\)$")),
         [](const M& m) {
             return m.captured(1) + " недопустимо: пусто (" + listName(m.captured(2)) + ")";
         }},
        {QRegularExpression(QStringLiteral("^cannot open the scenario file$")),
         [](const M&) { return QStringLiteral("файл не открывается"); }},
        {QRegularExpression(QStringLiteral("^not a regular file$")),
         [](const M&) { return QStringLiteral("это не файл"); }},
        {QRegularExpression(QStringLiteral("^larger than (\\d+) MiB$")),
         [](const M& m) { return "файл больше " + m.captured(1) + " МиБ"; }},
        {QRegularExpression(QStringLiteral("^cannot read the scenario file$")),
         [](const M&) { return QStringLiteral("файл не читается"); }},
        {QRegularExpression(QStringLiteral("^(-?\\d+) is not (a radar|an aircraft|a missile) "
                                           "position now \\(there are (\\d+)\\)$")),
         [](const M& m) {
             const QString what =
                 pick(m.captured(2), {{QStringLiteral("a radar"), QStringLiteral("РЛС")},
                                      {QStringLiteral("an aircraft"), QStringLiteral("самолёта")},
                                      {QStringLiteral("a missile"), QStringLiteral("ракеты")}});
             return "в этот момент нет " + what + " с номером " + m.captured(1) + " (всего " +
                    m.captured(3) + ")";
         }},
        {QRegularExpression(QStringLiteral("^the ([\\w-]+) table is full \\((\\d+)\\)$")),
         [](const M& m) {
             const QString table =
                 pick(m.captured(1),
                      {{QStringLiteral("aircraft"), QStringLiteral("самолётов")},
                       {QStringLiteral("radar"), QStringLiteral("РЛС")},
                       {QStringLiteral("placed-complex"), QStringLiteral("комплексов ЗРК")},
                       {QStringLiteral("missile"), QStringLiteral("ракет")}});
             return "таблица " + table + " заполнена (" + m.captured(2) + ")";
         }},
        {QRegularExpression(QStringLiteral("^\"(.*)\" offers no (.+)$")),
         [](const M& m) {
             const QString list =
                 pick(m.captured(2),
                      {{QStringLiteral("blink settings"), QStringLiteral("значений мерцания")},
                       {QStringLiteral("scan methods"), QStringLiteral("методов обзора")},
                       {QStringLiteral("emission modes"), QStringLiteral("режимов сигнала")}});
             return "у «" + m.captured(1) + "» нет " + list;
         }},
        {QRegularExpression(QStringLiteral("^the (radar|complex|missile) was refused$")),
         [](const M& m) {
             return pick(m.captured(1),
                         {{QStringLiteral("radar"), QStringLiteral("РЛС не добавлена")},
                          {QStringLiteral("complex"), QStringLiteral("комплекс не добавлен")},
                          {QStringLiteral("missile"), QStringLiteral("ракета не добавлена")}});
         }},
    };
    return all;
}

QString capitalized(const QString& text) {
    return text.isEmpty() ? text : text.left(1).toUpper() + text.mid(1);
}

}  // namespace

QString russianReason(const std::string& reason, bool* translated) {
    const QString english = shown(reason);
    for (const Rule& rule : rules()) {
        const QRegularExpressionMatch m = rule.pattern.match(english);
        if (m.hasMatch()) {
            if (translated != nullptr) {
                *translated = true;
            }
            return rule.say(m);
        }
    }
    if (translated != nullptr) {
        *translated = false;
    }
    return english;
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
    const QString reason = russianReason(error.reason);
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
