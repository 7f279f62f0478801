// A value label skips work for texts it shows already: what it keeps must follow its font and
// its value samples.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "controls/double_label.h"
#include "widget_test_support.h"

namespace {

using controls_test::App;

QFont Sized(QFont font, int pixels) {
    font.setPixelSize(pixels);
    return font;
}

// A font change measures the texts anew without any text being set again: the layout and the
// tooltip of a caption cut short follow the new font, both ways.
TEST(DoubleLabelTexts, AnotherFontMeasuresTheSameTextsAnew) {
    App();
    QWidget parent;
    auto* label = new controls::DoubleLabel(&parent);
    const QFont small = Sized(label->font(), 10), large = Sized(label->font(), 20);
    label->setFont(small);
    const QString caption = QStringLiteral("Echo delay:");
    const QStringList samples = {QStringLiteral("0ms"), QStringLiteral("200ms")};
    const QFontMetrics fm(small);
    // One line beside the widest sample in the small font.
    label->setGeometry(0, 0, fm.horizontalAdvance(caption) + 4 + fm.horizontalAdvance(samples[1]) + 4, 30);
    label->SetTexts(caption, samples[0], samples);
    ASSERT_EQ(label->Layout().lines, 1) << "the small font must fit on one line, or the test shows nothing";
    ASSERT_TRUE(label->toolTip().isEmpty());
    label->setFont(large);
    label->SetTexts(caption, samples[0], samples);  // unchanged texts: nothing to do but for the font
    EXPECT_EQ(label->Layout().lines, 2) << "the widest sample was not measured again in the larger font";
    EXPECT_TRUE(label->Layout().shortened) << "the larger caption is wider than the strip";
    EXPECT_EQ(label->toolTip(), caption) << "a caption cut by a font change got no tooltip";
    label->setFont(small);
    EXPECT_EQ(label->Layout().lines, 1) << "back in the small font, the texts stand on one line again";
    EXPECT_TRUE(label->toolTip().isEmpty()) << "the tooltip of the cut caption stayed";
}

// Samples that are replaced are measured again, narrower as well as wider; setting the texts they
// already have changes nothing.
TEST(DoubleLabelTexts, ReplacedSamplesAreMeasuredAgain) {
    App();
    controls::DoubleLabel label;
    const QFontMetrics fm(label.font());
    const QString caption = QStringLiteral("Menggema Tingkat Rendah:");
    label.resize(fm.horizontalAdvance(caption) + 4 + fm.horizontalAdvance(QStringLiteral("OFF")) + 2, 13);
    const QStringList narrow = {QStringLiteral("OFF")},
                      wide = {QStringLiteral("19999Hz"), QStringLiteral("OFF")};
    // clang-format off
    const struct { const QStringList* samples; int lines; } steps[] = {
        {&narrow, 1}, {&wide, 2}, {&wide, 2}, {&narrow, 1}, {&wide, 2}};
    // clang-format on
    for (const auto& s : steps) {
        SCOPED_TRACE(s.samples->join(' ').toStdString());
        label.SetTexts(caption, QStringLiteral("OFF"), *s.samples);
        EXPECT_EQ(label.ValueSamples(), *s.samples);
        EXPECT_EQ(label.Layout().lines, s.lines) << "the caption's lines do not follow the widest sample";
    }
    label.SetValue(QStringLiteral("OFF"));
    label.SetCaption(caption);
    EXPECT_EQ(label.Caption(), caption);
    EXPECT_EQ(label.Value(), QStringLiteral("OFF"));
    EXPECT_EQ(label.Layout().lines, 2);
}

}  // namespace
