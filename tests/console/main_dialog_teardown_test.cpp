// The console and its link's threads: closing the main window stops its timers and joins the
// threads before anything goes, and the debug window takes text from any thread.
// Nothing here paints: Qt's own paint helper threads are not instrumented for the thread checker.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QRegularExpression>
#include <chrono>
#include <cstdio>
#include <thread>

#include "link/ui/dlg_debug.h"
#include "support.h"

using namespace console;
using namespace std::chrono_literals;

namespace {

const ZemCmd::Cmd kHeartbeat = testbytes::ToCmd(testbytes::kHeartbeat);

TEST(MainWindowTeardown, ExitOrDestructionJoinsTheSenderWhileItIsBusy) {
    const std::string config = "teardown_test_config.ini";
    auto dialog = StartMainWindow(config);
    PageSetUp* setUp = dialog->SetUpPage();
    ASSERT_TRUE(setUp->Queue().IsRunning()) << "the sender runs";
    ASSERT_GT(dialog->Timers().Count(), 0u) << "timers are armed";
    for (int i = 0; i < 20; ++i) setUp->PushCmd(kHeartbeat);
    dialog->OnCommand(kCmdExit);
    EXPECT_EQ(dialog->Timers().Count(), 0u) << "Exit stops every timer";
    EXPECT_FALSE(setUp->Queue().IsRunning()) << "Exit joins the sender";
    EXPECT_FALSE(setUp->Link().IsOpen()) << "Exit closes the link";
    dialog.reset();  // the pages and the link go after their threads
    for (int round = 0; round < 3; ++round) {
        dialog = StartMainWindow(config);
        for (int i = 0; i < 5; ++i) dialog->SetUpPage()->PushCmd(kHeartbeat);
        ASSERT_TRUE(dialog->SetUpPage()->Queue().IsRunning());
        dialog.reset();
    }
    std::remove(config.c_str());
}

void PumpFor(std::chrono::milliseconds span) {
    for (const auto end = std::chrono::steady_clock::now() + span; std::chrono::steady_clock::now() < end;)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Timer events the GUI thread delivers to a window or anything it owns.
class TimerEvents : public QObject {
  public:
    explicit TimerEvents(QObject* window) : window_(window) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~TimerEvents() override { QCoreApplication::instance()->removeEventFilter(this); }
    int count = 0;
    std::string receiver;  // the last one's class

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Timer) return false;
        for (QObject* o = watched; o; o = o->parent())
            if (o == window_) {
                ++count;
                receiver = watched->metaObject()->className();
                break;
            }
        return false;
    }

  private:
    QObject* window_;
};

TEST(MainWindowThreads, DebugWindowTakesTextFromAnyThreadWakesOnlyWhileShownAndClears) {
    const std::string config = "debug_window_test_config.ini";
    auto dialog = StartMainWindow(config, [](auto& o) { o.firstConnectDelayMs = 1000000; });
    PageSetUp* page = dialog->SetUpPage();
    CDlgDebug* debug = page->DebugWindow();
    ASSERT_TRUE(debug);
    EXPECT_FALSE(debug->isVisible()) << "the debug window starts hidden";
    // Shown and hidden as the Debug button does it, but never painted (see the top of this file).
    debug->setAttribute(Qt::WA_DontShowOnScreen);
    debug->setUpdatesEnabled(false);
    EXPECT_EQ(debug->Text(), QString("Hello!\n"));
    // Writers on other threads never wait for the window; their text arrives whole and in order.
    std::vector<std::thread> writers;
    for (int t = 0; t < 3; ++t)
        writers.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i)
                page->Link().Log(std::string("w")
                                     .append(std::to_string(t))
                                     .append(":")
                                     .append(std::to_string(i))
                                     .append("\n"));
        });
    for (std::thread& w : writers) w.join();
    TimerEvents timers(debug);
    PumpFor(300ms);
    EXPECT_EQ(timers.count, 0) << "the hidden debug window woke the GUI thread: " << timers.count
                               << " timer events, the last to a " << timers.receiver;
    debug->show();  // as the set-up page's Debug button does
    EXPECT_EQ(debug->Text().count('\n'), 601) << "the text that waited did not show with the window";
    std::vector<int> next(3);  // each writer's lines in order
    for (const QString& line : debug->Text().split('\n').filter(QRegularExpression("^w.:")))
        EXPECT_EQ(line.mid(3).toInt(), next[line[1].digitValue()]++) << line.toStdString();
    EXPECT_EQ(next, std::vector<int>(3, 200));
    const std::uint32_t entries[] = {0xa5, 0x0b, 0xf6, 0};
    // The link writes while the GUI thread drains.
    std::thread rx([&] { page->DebugPrint("Rx", entries, 4); });
    EXPECT_TRUE(PumpUntil([&] { return debug->Text().endsWith("Rx=a5 b f6 0 \n"); }))
        << "the shown window did not take new text by itself: " << debug->Text().right(100).toStdString();
    rx.join();
    EXPECT_TRUE(page->Log().Text().ends_with("Rx=a5 b f6 0 \n")) << "link log";
    debug->hide();
    timers.count = 0;
    page->Link().Log("hidden\n");
    PumpFor(300ms);
    EXPECT_EQ(timers.count, 0) << "the debug window woke the GUI thread after it was hidden: " << timers.count
                               << " timer events, the last to a " << timers.receiver;

    debug->OnBnClickedClear();
    page->Link().Log("next\n");
    debug->Flush();
    EXPECT_EQ(debug->Text(), "next\n");
    for (bool hex : {true, false}) {
        debug->HexBox()->click();
        EXPECT_EQ(page->Link().hex.load(), hex);
    }
    // Bounded in characters as well as lines: a long run of text without line ends keeps its tail.
    std::string run;
    for (int i = 0; run.size() < 3 * CDlgDebug::kMaxChars; ++i) run += std::to_string(i) + " ";
    page->Link().Log(run);
    page->Link().Log(run);
    debug->Flush();
    EXPECT_LE(debug->CharCount(), CDlgDebug::kMaxChars);
    EXPECT_GT(debug->CharCount(), CDlgDebug::kMaxChars / 2);
    EXPECT_TRUE(debug->Text().endsWith(QString::fromStdString(run.substr(run.size() - 1000))));
    EXPECT_LE(page->Log().ByteCount(), BoundedLog::kDefaultMaxBytes);
    page->SetLanguage(1);
    // Only the page's own Debug button shows it, and each click turns it the other way.
    for (bool shown : {true, false, true}) {
        page->OnDebug();
        EXPECT_EQ(!debug->isHidden(), shown);
    }
    debug->hide();
    dialog.reset();
    std::remove(config.c_str());
}

}  // namespace
