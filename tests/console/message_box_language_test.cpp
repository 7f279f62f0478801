// Message boxes as the user meets them: wide enough for their titles in every language, and Qt's own
// texts (standard buttons, file dialogs) in the console's language where Qt ships a translation.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMessageBox>
#include <QStyle>

#include "console/device_commands.h"
#include "console/language_tables.h"
#include "pages/band_input.h"
#include "platform/ui/qt_translation.h"
#include "support.h"

using namespace console;

namespace {

// Every title a box of the console takes in this language.
std::vector<QString> BoxTitles(int language) {
    return {QString::fromStdString(RangeBoxCaption(language)),
            QString::fromStdString(InvalidInputText(language)),
            QString::fromUtf8(WindowCaption()),
            QString::fromUtf8(kPresetQuestionCaption),
            QStringLiteral("Finish"),
            QString::fromUtf8(language == 0 ? "提示" : "Tips")};
}

// The least a title bar takes for this title: the title in a bold face of the desktop's title
// size, the window icon and the close button (each about as wide as the bar is high).
int LeastTitleBar(const QString& title) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) +
           2 * QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
}

// Shows a real box with a one-character text (so the title decides the width) and returns its width.
int ShownBoxWidth(const QString& title, int language) {
    int width = -1;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        width = box->width();
        box->done(QMessageBox::Ok);
    });
    win::MessageBox(nullptr, QStringLiteral("1"), title, win::kMbOk, language);
    return width;
}

// The texts of a real box's standard buttons for a button set, in the order Qt lists them.
QStringList ShownButtonTexts(QWidget* parent, unsigned buttonSet) {
    QStringList texts;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        for (QAbstractButton* button : box->buttons()) texts << button->text();
        box->done(QMessageBox::Cancel);
    });
    win::MessageBox(parent, QStringLiteral("?"), QStringLiteral("Yes/No"), buttonSet, 0);
    texts.sort();
    return texts;
}

// The window title of the real Open dialog.
QString ShownOpenDialogTitle(QWidget* parent) {
    QString title;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        dialog->reject();
    });
    win::Files().Open(parent, QStringLiteral("txt(*.txt)|*.txt|"), QStringLiteral("a.txt"));
    return title;
}

class MessageBoxTitle : public testing::TestWithParam<int> {};

TEST_P(MessageBoxTitle, EveryBoxIsAsWideAsItsTitleBarNeeds) {
    TestApp();
    const int language = GetParam();
    for (const QString& title : BoxTitles(language)) {
        const int width = ShownBoxWidth(title, language);
        EXPECT_GE(width, LeastTitleBar(title))
            << "language " << language << ": the box titled \"" << title.toStdString() << "\" is " << width
            << " px wide, too narrow for its title, which the window manager would shorten";
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, MessageBoxTitle, testing::Range(0, 5));

using QtTexts = WindowTest;

TEST_F(QtTexts, ChineseBoxButtonsAndFileDialogsFollowTheLanguageAndEnglishComesBack) {
    // Looked for where Debian's package puts it, not where the console looks: a console that looks
    // in the wrong place, or for the wrong name, fails here instead of skipping.
    const char* const installed = "/usr/share/qt6/translations/qtbase_zh_CN.qm";
    if (!QFileInfo(QString::fromLatin1(installed)).isFile())
        GTEST_SKIP() << "Qt's Chinese translation (" << installed
                     << ", Debian package qt6-translations-l10n) is not installed: run tools/deps.sh";
    const QStringList english = {"Cancel", "OK"};
    const QStringList englishYesNo = {"&No", "&Yes"};
    Start("[Config]\nLanguage=1\n");
    EXPECT_EQ(ShownButtonTexts(dialog.get(), win::kMbOkCancel), english) << "English start";

    dialog->OnCommand(kCmdChinese);
    EXPECT_EQ(ShownButtonTexts(dialog.get(), win::kMbOkCancel), QStringList({"取消", "确定"}))
        << "after the switch to Chinese the box buttons still speak English";
    EXPECT_EQ(ShownButtonTexts(dialog.get(), win::kMbYesNo), QStringList({"否(&N)", "是(&Y)"}))
        << "Yes/No buttons in Chinese";
    EXPECT_EQ(ShownOpenDialogTitle(dialog.get()), QString::fromUtf8("打开"))
        << "the Open dialog is not in Chinese";

    dialog->OnCommand(kCmdEnglish);
    EXPECT_EQ(ShownButtonTexts(dialog.get(), win::kMbOkCancel), english)
        << "the Chinese translation stayed after the switch back to English";
    EXPECT_EQ(ShownOpenDialogTitle(dialog.get()), QStringLiteral("Open")) << "the Open dialog after English";

    // Qt ships no Thai translation: a switch from Chinese to Thai must not keep the Chinese one.
    dialog->OnCommand(kCmdChinese);
    dialog->OnCommand(kCmdThai);
    EXPECT_EQ(ShownButtonTexts(dialog.get(), win::kMbYesNo), englishYesNo)
        << "Thai (no Qt translation) kept the Chinese buttons";

    // The main window started in Chinese takes its translation along when it goes.
    dialog->OnCommand(kCmdChinese);
    dialog.reset();
    EXPECT_EQ(ShownButtonTexts(nullptr, win::kMbOkCancel), english) << "the translation outlived the window";
}

}  // namespace
