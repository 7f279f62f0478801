#include "console/startup_probe.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTabBar>
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
            QTimer::singleShot(800, window_, [window, file] { ShootTabs(window, file, 0); });
        }
        qApp->removeEventFilter(this);
        return false;
    }

  private:
    // A file name holding "%1" gets one picture per tab, the tab's index in its place.
    static void ShootTabs(QPointer<QWidget> window, const QString& file, int tab) {
        if (!window) return;
        const bool perTab = file.contains(QLatin1String("%1"));
        QTabBar* tabs = perTab ? window->findChild<QTabBar*>() : nullptr;
        QScreen* screen = window->screen();
        const QPixmap pixmap = screen ? screen->grabWindow(0) : window->grab();
        pixmap.save(perTab ? file.arg(tab) : file);
        if (!tabs || tab + 1 >= tabs->count()) {
            window->close();
            return;
        }
        tabs->setCurrentIndex(tab + 1);
        QTimer::singleShot(150, window, [window, file, tab] { ShootTabs(window, file, tab + 1); });
    }

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
