#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <numeric>

#include "controls/slider.h"
#include "tests/console/support.h"
#include "console/vol_limit_ids.h"

using console::VolumeLimits;

namespace {

TEST(VolumeLimitDialog, StartsFromTheMembersInItsLanguageAndPushesPartners) {
    TestApp();
    CVolLimit dialog;
    dialog.limits = {0, 84, 10, 50, 0, 70};
    // clang-format off
    const struct { int language; const char *title, *cancel; } languages[] = {{0, "音量限制", "取消"},
        {3, "Giới hạn lượng", "hủy"}, {4, "Batas volume", "Batalkan"}, {9, "音量限制", "取消"}, {1, "Volume limit", "Cancel"}};
    // clang-format on
    for (const auto& l : languages) {
        dialog.language = l.language;
        dialog.OnInitDialog();
        SCOPED_TRACE(testing::Message() << "language " << l.language);
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(l.title)) << "title";
        EXPECT_EQ(TextOf(&dialog, volid::kCancel), QString::fromUtf8(l.cancel)) << "cancel button";
    }
    EXPECT_EQ(TextOf(&dialog, volid::kMicEndCaption), "Mic max volume:") << "mic end caption";
    EXPECT_EQ(TextOf(&dialog, volid::kOk), "OK") << "OK button";
    // clang-format off
    const struct { const char* name; int slider, label, maximum, value; } sliders[] = {
        {"music start", volid::kMusicStartSlider, volid::kMusicStartValue, 84, 0},
        {"music end", volid::kMusicEndSlider, volid::kMusicEndValue, 84, 84},
        {"mic start", volid::kMicStartSlider, volid::kMicStartValue, 84, 10},
        {"mic end", volid::kMicEndSlider, volid::kMicEndValue, 84, 50},
        {"effect start", volid::kEffectStartSlider, volid::kEffectStartValue, 70, 0},
        {"effect end", volid::kEffectEndSlider, volid::kEffectEndValue, 70, 70}};
    // clang-format on
    for (const auto& r : sliders) {
        SCOPED_TRACE(r.name);
        auto* s = dialog.SliderById(r.slider);
        ASSERT_NE(s, nullptr) << "slider";
        EXPECT_EQ(s->maximum(), r.maximum) << "slider maximum";
        EXPECT_EQ(s->value(), r.value) << "slider position";
        EXPECT_EQ(TextOf(&dialog, r.label), QString::number(r.value)) << "value label";
    }
    dialog.SliderById(volid::kMicStartSlider)
        ->setSliderPosition(60);  // a drag of mic start past mic end (50)
    EXPECT_EQ(dialog.SliderById(volid::kMicEndSlider)->value(), 60) << "mic end follows mic start up";
    EXPECT_EQ(TextOf(&dialog, volid::kMicEndValue), "60") << "the mic end label is not its slider";
    EXPECT_EQ(dialog.limits, (VolumeLimits{0, 84, 60, 60, 0, 70}));
}

TEST(PageWaitDialog, CountsToAHundredThenCloses) {
    TestApp();
    PageWait wait(nullptr, {1});
    std::vector<int> steps;
    QObject::connect(wait.Progress(), &QProgressBar::valueChanged, [&](int v) {
        steps.push_back(v);
        if (v == 50) {  // neither Esc nor Enter nor a close request ends the count
            QTest::keyClick(&wait, Qt::Key_Escape);
            QTest::keyClick(&wait, Qt::Key_Return);
            wait.close();
            EXPECT_TRUE(wait.isVisible());
        }
    });
    EXPECT_EQ(wait.exec(), QDialog::Accepted);
    std::vector<int> expected(101);  // the reset to 0, then 1..100
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(wait.Text()->text(), "100%");
    EXPECT_FALSE(wait.isVisible()) << "the wait stays open at 100%";
}

TEST(PageWaitDialog, CountsOnTheEventLoopWithoutHoldingItUp) {
    TestApp();
    PageWait wait(nullptr, {4});
    // Other work of the GUI thread (paints, the main window's timers) gets its turn all along.
    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    int turns = 0;
    QTimer other;
    QObject::connect(&other, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
        ++turns;
    });
    clock.start();
    other.start(0);
    EXPECT_EQ(wait.exec(), QDialog::Accepted);
    other.stop();
    EXPECT_EQ(wait.Progress()->value(), 100);
    EXPECT_GT(turns, 100) << "other work ran between the steps";
    // Far above any event-loop turn, far below a step that sleeps 150 ms.
    EXPECT_LT(longest, 100) << "the GUI thread was held for " << longest << " ms";
}

TEST(PageWaitDialog, StopEndsTheCountAndCloses) {
    TestApp();
    auto* wait = new PageWait(nullptr, {1});
    wait->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<PageWait> alive(wait);
    wait->OnInitDialog();
    wait->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return wait->Progress()->value() >= 3; }, 2000));
    wait->Stop();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull()) << "a stopped wait closes and goes";
}

TEST(PasswordDialog, EachFaultHasItsMessageAndEnterInAnEditDoesNotPressOk) {
    TestApp();
    CDialogPW dialog;
    win::ScriptedMessageBoxes boxes;
    dialog.show();
    dialog.PasswordEdit()->setText("kavunPL");
    dialog.RepeatEdit()->setText("kavunPL");
    for (QLineEdit* edit : {dialog.PasswordEdit(), dialog.RepeatEdit()}) {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible()) << "Enter closed the dialog";
        EXPECT_EQ(dialog.result(), 0);
    }
    EXPECT_TRUE(boxes.shown.empty());
    // clang-format off
    // message null: no box
    const struct { int language; const char *password, *repeat, *message; bool staysOpen; int result; } cases[] = {
        {1, "", "x", "Please Enter Password", true, 0},
        {1, "x", "", "Please Enter Repeat Password", true, 0},
        {1, "kavunPL", "kavunPl", "Password Difference", true, 0},
        {0, "kavunPL", "kavunPl", "密码不一致", true, 0},
        {2, "", "", "Please Enter Password", true, 0},  // Thai falls back to English
        {0, "kavunpl", "kavunpl", "密码错误", false, QDialog::Rejected},
        {1, "kavunPL ", "kavunPL ", "Password Error", false, QDialog::Rejected},
        {1, "kavun", "kavun", "Password Error", false, QDialog::Rejected},
        {1, "kavunPL", "kavunPL", nullptr, false, QDialog::Accepted},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "language " << c.language << ", \"" << c.password << "\" / \""
                                        << c.repeat << '"');
        boxes.shown.clear();
        dialog.language = c.language;
        dialog.setResult(0);
        dialog.show();
        dialog.PasswordEdit()->setText(QString::fromUtf8(c.password));
        dialog.RepeatEdit()->setText(QString::fromUtf8(c.repeat));
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        ASSERT_EQ(boxes.shown.size(), c.message ? 1u : 0u);
        for (const auto& box : boxes.shown) {
            EXPECT_EQ(box.text, QString::fromUtf8(c.message));
            EXPECT_EQ(box.type & 0x0F, win::kMbOk);
        }
        EXPECT_EQ(dialog.isVisible(), c.staysOpen);
        EXPECT_EQ(dialog.result(), c.result);
        EXPECT_EQ(dialog.password, QString::fromUtf8(c.password));
    }
}

}  // namespace
