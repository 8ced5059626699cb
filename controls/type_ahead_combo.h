#pragma once
// TTypeAheadComboBox: a drop-down list of coded items ("SA - Active asset - Shares") whose
// stored value is the first MaxLength characters of the chosen item. Typing chooses the first
// item that begins with the letters typed so far, ignoring case; Backspace empties the choice.

#include <QComboBox>
#include <QStringList>

#include "controls/core/type_ahead.h"

class TTypeAheadComboBox : public QComboBox {
    Q_OBJECT
    // Characters of the chosen item that the interview frame stores (0: none).
    Q_PROPERTY(int MaxLength READ MaxLength WRITE setMaxLength)

public:
    explicit TTypeAheadComboBox(QWidget* parent = nullptr);

    int MaxLength() const { return maxLength_; }
    void setMaxLength(int length) { maxLength_ = length; }

    // Replaces the items; nothing is chosen afterwards.
    void SetItems(const QStringList& items);
    // The code of the chosen item (its first MaxLength characters, trailing blanks removed);
    // empty when nothing is chosen.
    QString Code() const;
    // Chooses the first item whose code is `code`; an unknown or empty code empties the choice.
    void SelectCode(const QString& code);
    bool HasChoice() const { return currentIndex() >= 0; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    std::vector<std::string> itemTexts() const;

    int maxLength_ = 2;
    cgt::TypeAheadSearch search_;
};
