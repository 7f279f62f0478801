#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "console/dialog_pw.h"
#include "console/page_wait.h"
#include "console/vol_limit.h"
#include "controls/slider.h"
#include "platform/ui/controls.h"
#include "platform/ui/message_box.h"
#include "test_app.h"

using console::VolumeLimits;

namespace {

QString TextOf(QWidget* dialog, int id) {
    if (auto* label = win::FindControlAs<QLabel>(dialog, id)) return label->text();
    if (auto* button = win::FindControlAs<QAbstractButton>(dialog, id)) return button->text();
    return QStringLiteral("<missing>");
}

class VolumeLimitDialog : public testing::Test {
  protected:
    void SetUp() override {
        TestApp();
        dialog.limits = {0, 84, 10, 50, 0, 70};
        dialog.language = 1;
        dialog.OnInitDialog();
    }
    // A user drag to `position`.
    void Drag(int id, int position) { dialog.SliderById(id)->setSliderPosition(position); }
    int Pos(int id) { return dialog.SliderById(id)->value(); }
    QString Label(int valueId) { return TextOf(&dialog, valueId); }

    QApplication& app = TestApp();
    CVolLimit dialog;
};

TEST_F(VolumeLimitDialog, StartsFromTheMembers) {
    const struct {
        int slider, label, max, pos;
    } rows[] = {{1001, 1459, 84, 0},  {1004, 1462, 84, 84}, {1003, 1460, 84, 10},
                {1002, 1461, 84, 50}, {1005, 1463, 70, 0},  {1006, 1464, 70, 70}};
    for (const auto& r : rows) {
        EXPECT_EQ(dialog.SliderById(r.slider)->maximum(), r.max) << r.slider;
        EXPECT_EQ(Pos(r.slider), r.pos) << r.slider;
        EXPECT_EQ(Label(r.label), QString::number(r.pos)) << r.label;
    }
    EXPECT_EQ(dialog.windowTitle(), "Volume limit");
    EXPECT_EQ(TextOf(&dialog, 1454), "Mic max volume:");
    EXPECT_EQ(TextOf(&dialog, 1), "OK");
}

TEST_F(VolumeLimitDialog, TextsFollowTheLanguageAndFallBackOutsideTheTable) {
    const struct {
        int language;
        const char* title;
        const char* cancel;
    } rows[] = {{0, "音量限制", "取消"},
                {3, "Giới hạn lượng", "hủy"},
                {4, "Batas volume", "Batalkan"},
                {9, "音量限制", "取消"}};
    for (const auto& r : rows) {
        dialog.language = r.language;
        dialog.OnInitDialog();
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(r.title));
        EXPECT_EQ(TextOf(&dialog, 2), QString::fromUtf8(r.cancel));
    }
}

TEST_F(VolumeLimitDialog, StartAboveEndPushesTheEnd) {
    Drag(1003, 60);  // mic start past mic end (50)
    EXPECT_EQ(Pos(1002), 60);
    EXPECT_EQ(Label(1461), "60");
    EXPECT_EQ(dialog.limits, (VolumeLimits{0, 84, 60, 60, 0, 70}));
}

TEST(PageWaitDialog, CountsToAHundredThenCloses) {
    TestApp();
    PageWait wait(nullptr, {1, 0});
    std::vector<int> steps;
    QString lastText;
    QObject::connect(wait.Progress(), &QProgressBar::valueChanged, [&](int v) {
        steps.push_back(v);
        lastText = wait.Text()->text();
        if (v == 1) {
            EXPECT_EQ(lastText, "1%");
        }
        if (v == 50) {
            // Neither Esc nor Enter nor a close request ends the count.
            QTest::keyClick(&wait, Qt::Key_Escape);
            QTest::keyClick(&wait, Qt::Key_Return);
            wait.close();
            EXPECT_TRUE(wait.isVisible());
        }
    });
    EXPECT_EQ(wait.exec(), QDialog::Accepted);
    ASSERT_EQ(steps.size(), 101u);  // the reset to 0, then 1..100
    EXPECT_EQ(steps.front(), 0);
    for (int i = 1; i <= 100; ++i) ASSERT_EQ(steps[static_cast<std::size_t>(i)], i);
    EXPECT_EQ(lastText, "100%");
    EXPECT_FALSE(wait.isVisible());
}

class PasswordDialog : public testing::Test {
  protected:
    void SetUp() override {
        TestApp();
        dialog.show();
    }
    void Type(const QString& password, const QString& repeat) {
        dialog.PasswordEdit()->setText(password);
        dialog.RepeatEdit()->setText(repeat);
    }
    QApplication& app = TestApp();
    CDialogPW dialog;
    win::ScriptedMessageBoxes boxes;
};

TEST_F(PasswordDialog, EachFaultHasItsMessage) {
    const struct {
        int language;
        const char* password;
        const char* repeat;
        const char* message;  // null: no box
        bool staysOpen;
        int result;
    } cases[] = {
        {1, "", "x", "Please Enter Password", true, 0},
        {1, "x", "", "Please Enter Repeat Password", true, 0},
        {1, "kavunPL", "kavunPl", "Password Difference", true, 0},
        {0, "kavunPL", "kavunPl", "密码不一致", true, 0},
        {2, "", "", "Please Enter Password", true, 0},  // Thai falls back to English
        {1, "KavunPL", "KavunPL", "Password Error", false, QDialog::Rejected},
        {0, "kavunpl", "kavunpl", "密码错误", false, QDialog::Rejected},
        {1, "kavunPL", "kavunPL", nullptr, false, QDialog::Accepted},
    };
    for (const auto& c : cases) {
        boxes.shown.clear();
        dialog.language = c.language;
        dialog.setResult(0);
        dialog.show();
        Type(QString::fromUtf8(c.password), QString::fromUtf8(c.repeat));
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        if (c.message) {
            ASSERT_EQ(boxes.shown.size(), 1u) << c.password;
            EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8(c.message));
            EXPECT_EQ(boxes.shown[0].type & 0x0F, win::kMbOk);
        } else {
            EXPECT_TRUE(boxes.shown.empty());
        }
        EXPECT_EQ(dialog.isVisible(), c.staysOpen) << c.password << "/" << c.repeat;
        EXPECT_EQ(dialog.result(), c.result);
        EXPECT_EQ(dialog.password, QString::fromUtf8(c.password));
    }
}

TEST_F(PasswordDialog, EnterInAnEditDoesNotPressOk) {
    Type("kavunPL", "kavunPL");
    for (QLineEdit* edit : {dialog.PasswordEdit(), dialog.RepeatEdit()}) {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), 0);
    }
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
