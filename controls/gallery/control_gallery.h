#pragma once
// The control gallery: amount, cents, percentage, date, TFN and description fields; a question
// label with a help link, bullets, a value and two sections; the cost-element grid with its
// totals row.

#include <QWidget>

class TTaxEdit;
class TTextLbl;
class TXGrid;
class TXGridTotals;
class QLabel;

class ControlGallery : public QWidget {
    Q_OBJECT

public:
    explicit ControlGallery(QWidget* parent = nullptr);

    TTaxEdit* field(const QString& name) const;
    TTextLbl* questionLabel() const { return question_; }
    TXGrid* costGrid() const { return grid_; }
    TXGridTotals* costTotals() const { return totals_; }

private:
    void addFields(int top);
    void addQuestion(int top);
    void addGrid(int top);

    TTextLbl* question_ = nullptr;
    TXGrid* grid_ = nullptr;
    TXGridTotals* totals_ = nullptr;
    QLabel* status_ = nullptr;
};
