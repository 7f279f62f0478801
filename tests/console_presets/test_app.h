#pragma once
// A way to act on a modal dialog once its own event loop runs.

#include <QApplication>
#include <QTimer>
#include <functional>

#include "tests/console/qt_app.h"

// Calls act with the modal dialog of type D as soon as one is up (polled every few ms).
template <class D>
void WhenModal(std::function<void(D*)> act, int triesLeft = 500) {
    QTimer::singleShot(2, [act, triesLeft] {
        if (auto* dialog = dynamic_cast<D*>(QApplication::activeModalWidget())) {
            act(dialog);
        } else if (triesLeft > 0) {
            WhenModal<D>(act, triesLeft - 1);
        }
    });
}
