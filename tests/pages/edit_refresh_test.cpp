// A band edit shown again with the text it holds is left alone only when nothing of the user's
// stands in it: what a user typed, selected or can undo is cleared as a fresh text would clear it.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <functional>

#include "pages/page_views.h"
#include "test_page.h"

namespace {

TEST(EditRefresh, ShowingTheSameTextClearsWhatTheUserLeft) {
    TestApp();
    // clang-format off
    const struct { const char* before; std::function<void(QLineEdit&)> user; const char* shown; } cases[] = {
        {"untouched", [](QLineEdit&) {}, "100 Hz"},
        {"selected", [](QLineEdit& e) { e.selectAll(); }, "100 Hz"},
        {"caret moved", [](QLineEdit& e) { e.setCursorPosition(3); }, "100 Hz"},
        {"typed back to the same text", [](QLineEdit& e) {
             e.end(false); QTest::keyClick(&e, Qt::Key_Backspace); QTest::keyClicks(&e, "z"); }, "100 Hz"},
        {"typed and undone", [](QLineEdit& e) { e.end(false); QTest::keyClicks(&e, "0"); e.undo(); }, "100 Hz"},
        {"another text", [](QLineEdit& e) { QTest::keyClicks(&e, "9"); }, "250 Hz"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        QLineEdit edit;
        pageview::ShowEditText(&edit, "100 Hz");
        c.user(edit);
        pageview::ShowEditText(&edit, c.shown);
        EXPECT_EQ(edit.text(), QString(c.shown));
        EXPECT_EQ(edit.cursorPosition(), 0) << "the caret is not at the start";
        EXPECT_FALSE(edit.hasSelectedText()) << "a selection stayed";
        EXPECT_FALSE(edit.isModified()) << "the edit still counts as typed in: leaving it would validate it";
        EXPECT_FALSE(edit.isUndoAvailable()) << "the user's typing can be undone over the shown value";
        EXPECT_FALSE(edit.isRedoAvailable()) << "undone typing can be redone over the shown value";
    }
}

}  // namespace
