#pragma once
// The hint shown at an entry field or a grid cell after a refused key, saying what it accepts:
// a small label in the field's window, under the field or above it where the window ends. It
// goes when the next key is taken, when the field is left, or after a few seconds.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QLabel;
class QWidget;

class TEntryHint : public QObject {
public:
    explicit TEntryHint(QWidget* field);
    ~TEntryHint() override;

    void Show(const QString& text);
    void Hide();
    // The hint shown; empty while none is.
    QString Text() const;

    // How long a hint stays when no other key follows.
    static constexpr int kMilliseconds = 4000;

private:
    QWidget* field_;
    QPointer<QLabel> label_;
    QTimer timer_;
};
