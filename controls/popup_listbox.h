#pragma once

#include <QListWidget>
#include <QPointer>

#include <functional>

// The drop-down list of a picklist cell. Typed characters build a search text that selects the
// first item starting with it; characters more than 2000 ms apart start a new search.
class TPopupListbox : public QListWidget {
    Q_OBJECT
public:
    using Clock = std::function<qint64()>; // milliseconds

    static constexpr qint64 kSearchWindowMs = 2000;
    static constexpr int kMaxSearchLength = 32;

    explicit TPopupListbox(QWidget* parent = nullptr);

    // Replaces the clock that times the typed characters.
    void setClock(Clock clock);
    QString searchText() const { return search_; }
    // Keys of an open list, forwarded by the editor too. True when the key was used.
    bool handleKey(QKeyEvent* event);
    void closeUp();
    // The button that opened the list: a press on it closes the list and goes no further.
    void setDropButton(QWidget* button) { dropButton_ = button; }

signals:
    void itemAccepted(const QString& item);
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> dropButton_;
    QString search_;
    qint64 lastKey_ = 0;
    Clock clock_;
};
