#pragma once
// YesNoPair: two check boxes that answer one question. Checking one unchecks the other; the
// question may also be left unanswered. Each box keeps its own field tag, so the frame stores
// them as ordinary check boxes.

#include <QCheckBox>
#include <QObject>
#include <QPointer>

class YesNoPair : public QObject {
    Q_OBJECT

public:
    YesNoPair(QCheckBox* yes, QCheckBox* no, QObject* parent = nullptr);

    bool IsYes() const;
    bool IsNo() const;
    bool Answered() const { return IsYes() || IsNo(); }
    void Clear();
    void SetEnabled(bool on);
    QCheckBox* Yes() const { return yes_; }
    QCheckBox* No() const { return no_; }

signals:
    // The user checked or unchecked one of the boxes.
    void Changed();

private:
    void clicked(QCheckBox* box);

    QPointer<QCheckBox> yes_;
    QPointer<QCheckBox> no_;
};
