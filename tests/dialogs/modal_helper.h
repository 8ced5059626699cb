#pragma once
// Acts on the next modal dialog once its event loop runs, as a user at the keyboard would.

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace cgt::test {

// Calls `act` with the modal dialog as soon as it is shown; the returned flag tells whether it
// ran. A dialog still open a few seconds after `act` is rejected so that a failing test ends.
inline std::shared_ptr<bool> WhenModal(std::function<void(QDialog&)> act) {
    auto ran = std::make_shared<bool>(false);
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, ran, act, tries = 0]() mutable {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            if (++tries > 500) {
                poll->stop();
                poll->deleteLater();
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        *ran = true;
        QPointer<QDialog> guard(dialog);
        act(*dialog);
        QTimer::singleShot(3000, [guard] {
            if (guard && guard->isVisible()) guard->reject();
        });
    });
    poll->start();
    return ran;
}

} // namespace cgt::test
