#pragma once
// The grid's texts at the Qt edge: the cell table keeps 8-bit (Latin-1) bytes.

#include <QString>

#include <string>

namespace cgt::grid {

QString Latin1(const std::string& text);
std::string Bytes(const QString& text);
// A column title as the title row draws it: its CR LF and lone CR line breaks become LF.
QString TitleText(const std::string& title);

} // namespace cgt::grid
