#include "controls/xgrid_text.h"

namespace cgt::grid {

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Bytes(const QString& text) {
    return text.toLatin1().toStdString();
}

QString TitleText(const std::string& title) {
    QString text = Latin1(title);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace cgt::grid
