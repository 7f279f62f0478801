#include "console/startup_probe.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace console {
namespace {

class FirstPaint : public QObject {
  public:
    FirstPaint(QWidget* window, bool report, QString shot)
        : QObject(window), window_(window), report_(report), shot_(std::move(shot)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (done_ || event->type() != QEvent::Paint) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != window_) return false;
        done_ = true;
        if (report_) {
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::fprintf(stderr, "first-paint-ns %lld\n",
                         static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        }
        if (!shot_.isEmpty()) {
            QPointer<QWidget> window = window_;
            const QString file = shot_;
            QTimer::singleShot(800, window_, [window, file] {
                if (!window) return;
                QScreen* screen = window->screen();
                const QPixmap pixmap = screen ? screen->grabWindow(0) : window->grab();
                pixmap.save(file);
                window->close();
            });
        }
        qApp->removeEventFilter(this);
        return false;
    }

  private:
    QWidget* window_;
    bool report_;
    QString shot_;
    bool done_ = false;
};

}  // namespace

void WatchStartup(QWidget* window) {
    const bool report = qEnvironmentVariableIsSet("K417B_REPORT_FIRST_PAINT");
    const QString shot = qEnvironmentVariable("K417B_SCREENSHOT");
    if (!report && shot.isEmpty()) return;
    qApp->installEventFilter(new FirstPaint(window, report, shot));
}

}  // namespace console
