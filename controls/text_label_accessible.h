#pragma once
// A mark-up label as a screen reader meets it: static text named by its drawn text, whose
// children are its links (help-topic jumps and hyperlinks), each named by its text and followed
// by its Press action as a click follows it.

#include <QString>

class QAccessibleInterface;
class QObject;

// The accessibility factory of TTextLbl; nullptr for any other class.
QAccessibleInterface* TextLabelAccessibleFactory(const QString& className, QObject* object);
