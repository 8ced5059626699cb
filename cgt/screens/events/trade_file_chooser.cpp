#include "cgt/screens/events/trade_file_chooser.h"

#include <QFileDialog>

namespace cgt {

namespace {

TradeFileChooser& InstalledChooser() {
    static TradeFileChooser chooser;
    return chooser;
}

QStringList ChooseWithFileDialog(QWidget* parent) {
    return QFileDialog::getOpenFileNames(
        parent, QStringLiteral("Import trades"), QString(),
        QStringLiteral("Trade files (*.csv *.txt);;All files (*)"));
}

} // namespace

void SetTradeFileChooser(TradeFileChooser chooser) {
    InstalledChooser() = std::move(chooser);
}

QStringList ChooseTradeFiles(QWidget* parent) {
    const TradeFileChooser& chooser = InstalledChooser();
    return chooser ? chooser(parent) : ChooseWithFileDialog(parent);
}

} // namespace cgt
