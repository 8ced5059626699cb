#pragma once
// The files of share trades to import, chosen by the user: the file dialog of the user
// interface, which tests replace with a chooser that answers with paths.

#include <QStringList>

#include <functional>

class QWidget;

namespace cgt {

// The chosen files' paths; empty when the user cancelled.
using TradeFileChooser = std::function<QStringList(QWidget* parent)>;

// Installs the chooser used from now on; an empty one returns to the file dialog.
void SetTradeFileChooser(TradeFileChooser chooser);
// Asks the installed chooser, or the file dialog: several files at once, brokers' exports
// (.csv, .txt) or any file.
QStringList ChooseTradeFiles(QWidget* parent);

} // namespace cgt
