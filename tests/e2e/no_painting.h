#pragma once
// Qt's raster painting runs on helper threads the thread checker cannot see into: the end-to-end
// tests are about the link's threads, so they eat every paint.
#include <QEvent>
#include <QObject>

#include "tests/console/support.h"

namespace e2e {

class NoPainting : public QObject {
  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        return e->type() == QEvent::Paint || e->type() == QEvent::UpdateRequest;
    }
};

// Installs the filter once for the whole test program.
inline void StopPainting() {
    [[maybe_unused]] static bool filtered = (TestApp().installEventFilter(new NoPainting), true);
}

}  // namespace e2e
