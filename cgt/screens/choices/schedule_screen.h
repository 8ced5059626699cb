#pragma once
// TQCGT_67 (2107), the last screen of the interview: the CGT schedule as the choice table and
// the concession screens left it, Parts A to K, every amount a read-only whole-dollar field of
// the schedule row with an accessible caption naming its row and column. Next ends the
// interview.

#include <QString>

#include <vector>

#include "interview/child_form.h"

class QCheckBox;
class QScrollArea;
class TTaxEdit;
class TTextLbl;

class TQCGT_67 : public TChildForm {
    Q_OBJECT

public:
    TQCGT_67();
    void FormShow() override;

    QScrollArea* ScheduleArea() const { return area_; }
    // The field of a schedule label; nullptr when the screen has none.
    TTaxEdit* Field(int tag) const;
    QCheckBox* RollOverBox() const { return rollOver_; }
    // The headings of the Parts, in order.
    const std::vector<TTextLbl*>& Headings() const { return headings_; }

private:
    QScrollArea* area_ = nullptr;
    QCheckBox* rollOver_ = nullptr;
    std::vector<TTextLbl*> headings_;
};
