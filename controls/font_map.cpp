#include "controls/font_map.h"

#include <array>
#include <utility>

namespace cgt {

namespace {

constexpr std::array<std::pair<const char*, const char*>, 12> kFaces{{
    {"Arial", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"Microsoft Sans Serif", "Liberation Sans"},
    {"Tahoma", "Liberation Sans"},
    {"Verdana", "Liberation Sans"},
    {"Arial Narrow", "Liberation Sans Narrow"},
    {"Times New Roman", "Liberation Serif"},
    {"Times", "Liberation Serif"},
    {"MS Serif", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},
}};

} // namespace

QString MapFontFamily(const QString& face) {
    QString trimmed = face.trimmed();
    for (const auto& [from, to] : kFaces)
        if (trimmed.compare(QLatin1String(from), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(to);
    return trimmed;
}

void InstallFontSubstitutions() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    for (const auto& [from, to] : kFaces)
        QFont::insertSubstitution(QString::fromLatin1(from), QString::fromLatin1(to));
}

QFont MakeFont(const QString& face, int pointSize, bool bold, bool italic, bool underline) {
    InstallFontSubstitutions();
    QFont font(MapFontFamily(face));
    font.setPointSize(pointSize > 0 ? pointSize : 1);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

QFont DefaultControlFont() {
    return MakeFont(QStringLiteral("Arial"), 10);
}

} // namespace cgt
