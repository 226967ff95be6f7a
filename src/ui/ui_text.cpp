#include "ui/ui_text.h"

#include <QLocale>

#include "ui/number_text.h"

namespace prrsim::ui {

char decimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 128 ? point.at(0).toLatin1() : '.';
}

QString realText(double value) {
    return QString::fromStdString(formatReal(value, decimalSeparator()));
}

QString fixedText(double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    text.replace(QLatin1Char('.'), QLatin1Char(decimalSeparator()));
    return text;
}

QString absentText() {
    return QStringLiteral("НЕТ");
}

}  // namespace prrsim::ui
