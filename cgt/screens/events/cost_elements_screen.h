#pragma once
// TQCGT_12 (2011, 2024, 2037, 2048, 2057, 2067): section 3 of an asset's event, the costs
// incurred for the asset, one grid row per cost element (tag 737). It continues the event's
// row. The element picklist is the worksheet's, the help below the grid follows the column,
// F1 opens the help of the row's element, and Next keeps the rows in date order.

#include <memory>
#include <string>

#include "cgt/screens/events/event_screen.h"

class TTextLbl;
class TXGrid;

namespace Ui {
class CostElementsForm;
}

class TQCGT_12 : public TEventScreen {
    Q_OBJECT

public:
    explicit TQCGT_12(QWidget* parent = nullptr);
    ~TQCGT_12() override;

    void FormShow() override;

    TXGrid* XGrid1() const;
    TTextLbl* YBLbl() const;
    // The help topic F1 opens in the grid's current row: its element's, or 0 for the screen's.
    int ElementHelpTopic() const;

protected:
    std::optional<cgt::Refusal> CheckEntries() override;
    // Sorts the rows by date incurred, date paid and element, then moves on.
    cgt::NextStep NextPressed() override;
    // A refused row: its cell takes the focus.
    QWidget* RefusedControl(const cgt::Refusal& refusal) override;

private:
    void XGrid1PicklistDropdown(int col, int row, QStringList* picklist);
    void XGrid1EnterCell(int col, int row);
    void XGrid1KeyDown(int* key, Qt::KeyboardModifiers modifiers);
    std::string ElementCodeOf(int row) const;
    // The grid's help topic follows the element of `row`, for the main window's F1.
    void FollowElement(int row);

    std::unique_ptr<Ui::CostElementsForm> ui_;
};
