#include "platform/ui/message_box.h"

#include <gtest/gtest.h>

#include "ui_app.h"

namespace {

TEST(ScriptedBoxes, RecordAndAnswer) {
    UiApp();
    win::ScriptedMessageBoxes boxes;
    boxes.answers = {win::kIdNo};
    EXPECT_EQ(win::MessageBox(nullptr, "Save?", "Q", win::kMbYesNo | win::kMbIconQuestion, 2), win::kIdNo);
    EXPECT_EQ(win::MessageBox(nullptr, "Again?", "Q", win::kMbYesNo, 1), win::kIdYes);
    EXPECT_EQ(win::MessageBox(nullptr, "Out of range(20 - 20000Hz).", "Invalid Value", win::kMbOk, 1),
              win::kIdOk);
    EXPECT_EQ(win::MessageBox(nullptr, "x", "y", win::kMbOkCancel, 0), win::kIdOk);
    ASSERT_EQ(boxes.shown.size(), 4u);
    EXPECT_EQ(boxes.shown[0].text, "Save?");
    EXPECT_EQ(boxes.shown[0].type, win::kMbYesNo | win::kMbIconQuestion);
    EXPECT_EQ(boxes.shown[0].language, 2);
    EXPECT_EQ(boxes.shown[2].caption, "Invalid Value");
}

TEST(ScriptedBoxes, NestedScriptsRestoreTheOuterOne) {
    UiApp();
    win::ScriptedMessageBoxes outer;
    {
        win::ScriptedMessageBoxes inner;
        win::MessageBox(nullptr, "inner", "", win::kMbOk, 0);
        EXPECT_EQ(inner.shown.size(), 1u);
    }
    win::MessageBox(nullptr, "outer", "", win::kMbOk, 0);
    ASSERT_EQ(outer.shown.size(), 1u);
    EXPECT_EQ(outer.shown[0].text, "outer");
}

TEST(ScriptedFiles, AnswersInOrderThenCancel) {
    UiApp();
    win::ScriptedFileDialogs files;
    files.answers = {QString("/tmp/a.inf"), std::nullopt};
    EXPECT_EQ(win::Files().Save(nullptr, "Zem信息(*.inf)|*.inf|", "zem.inf"), QString("/tmp/a.inf"));
    EXPECT_EQ(win::Files().Open(nullptr, "", ""), std::nullopt);
    EXPECT_EQ(win::Files().Open(nullptr, "", ""), std::nullopt);
    EXPECT_EQ(files.asked, 3);
}

TEST(FileFilter, WindowsToQt) {
    EXPECT_EQ(win::QtFilterFromWindows("Zem信息(*.inf)|*.inf|"), "Zem信息(*.inf) (*.inf)");
    EXPECT_EQ(win::QtFilterFromWindows("Bin(*.bin)|*.bin|All(*.*)|*.*;*.x|"),
              "Bin(*.bin) (*.bin);;All(*.*) (*.* *.x)");
    EXPECT_EQ(win::QtFilterFromWindows(""), "");
    EXPECT_EQ(win::QtFilterFromWindows("Odd|"), "");
}

}  // namespace
