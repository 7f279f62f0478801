// The run-time band controls of a page: building and laying them out, typed values, Q and type
// buttons, Enter and Esc.

#include <QAbstractSlider>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <initializer_list>
#include <vector>

#include "controls/notices.h"
#include "pages/band_images.h"
#include "pages/band_input.h"
#include "pages/image_button.h"
#include "pages/page.h"
#include "pages/page_views.h"
#include "pages/row_captions.h"
#include "platform/ui/controls.h"
#include "platform/ui/message_box.h"

namespace {

const char* const kInitialRowCaptions[] = {"增益：", "类型：", "频率：", " Q值："};

QLineEdit* NewBandEdit(QWidget* page, int id, const QRect& r, const QString& text) {
    auto* e = new QLineEdit(page);
    win::SetControlId(e, id);
    e->setAlignment(Qt::AlignCenter);
    e->setGeometry(r);
    e->setText(text);
    return e;
}

QPushButton* NewImageButton(QWidget* page, int id, const QRect& r, const QPixmap& image) {
    auto* b = new ImageButton(image, page);
    win::SetControlId(b, id);
    b->setGeometry(r);
    return b;
}

QRect Ltrb(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// Every text a row caption shows: the one it starts with and its row's in each language.
std::vector<QString> AllRowCaptions() {
    std::vector<QString> texts;
    for (int row = 0; row < rowcaption::kRows; ++row) {
        texts.push_back(QString::fromUtf8(kInitialRowCaptions[row]));
        for (int language = 0; language < 5; ++language)
            texts.push_back(QString::fromUtf8(rowcaption::Text(row, language)));
    }
    return texts;
}

// Room the row captions need: the widest caption of any row in any language, so a language switch
// never lets a caption run under the first band column, and the tallest line the painter lays one
// out in (Thai and Chinese come from fallback faces, whose lines stand taller than the dialog
// font's), so none loses its top or bottom.
QSize RowCaptionSize(const QFontMetrics& fm) {
    QSize size;
    for (const QString& text : AllRowCaptions())
        size = size.expandedTo(QSize(fm.horizontalAdvance(text), fm.boundingRect(QRect(), 0, text).height()));
    return size;
}

// `height` rows standing on the middle of `row`, from the left edge to `width`.
QRect CentredOn(const QRect& row, int width, int height) {
    return QRect(0, row.top() + (row.height() - height) / 2, width, height);
}

// Width of an edit that shows the widest of `texts` from its first character: QLineEdit scrolls a
// text unless the text, a pixel and the caret fit inside its frame and inner margins.
int EditWidthFor(const QWidget& page, const QFontMetrics& fm, std::initializer_list<const char*> texts) {
    int widest = 0;
    for (const char* text : texts) widest = std::max(widest, fm.horizontalAdvance(QString::fromLatin1(text)));
    constexpr int kLineEditMargin = 2;  // QLineEdit's own gap between frame and text, each side
    const QStyle* style = page.style();
    const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &page);
    const int caret = style->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, &page);
    return widest + 1 + caret + 2 * (frame + kLineEditMargin);
}

// Width of a band column: the gain and frequency edits span it, and so does the Q row, whose edit
// sits between the two arrows.
int BandColumnWidth(const QWidget& page, const QFontMetrics& fm) {
    const int edits = EditWidthFor(page, fm, {"200000", "+12.0 dB", "-24.0 dB", "20000 Hz"});
    const int qRow = 2 * kArrowWidth + EditWidthFor(page, fm, {"128.0"});
    return std::max(edits, qRow);
}

}  // namespace

void Page::CreateBandControls() {
    const QFontMetrics fm(font());
    // The edits span the type button and the slider: widen the slider to give them their text.
    const int w =
        std::max(fm.horizontalAdvance(QStringLiteral("200000")), BandColumnWidth(*this, fm) - kTypeImageSize);
    const int h = fm.height();
    constexpr int kCaptionGap = 4;
    const QSize captionSize = RowCaptionSize(fm);
    const int x0 = captionSize.width() + kCaptionGap;

    for (int k = 0; k < 4; ++k) {
        auto* caption = new QLabel(QString::fromUtf8(kInitialRowCaptions[k]), this);
        win::SetControlId(caption, pageid::kRowCaption);
        caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        rowCaptions_[k] = caption;
    }
    for (int i = 1; i < model_.bandCount - 1; ++i)
        CreateBandColumn(i, x0 + (i - 1) * (w + kTypeImageSize + 2), w, h);

    // Each caption stands level with the row it names in the first column: the gain edit, the
    // three type buttons together, the frequency edit, the Q row.
    const BandViews& first = bands_[1];
    if (!first.gainEdit) return;
    const QRect rows[] = {first.gainEdit->geometry(),
                          first.typeButtons[0]->geometry() | first.typeButtons[2]->geometry(),
                          first.freqEdit->geometry(), first.qEdit->geometry()};
    for (int k = 0; k < 4; ++k)
        rowCaptions_[k]->setGeometry(CentredOn(rows[k], captionSize.width(), captionSize.height()));
}

void Page::CreateBandColumn(int i, int x, int w, int h) {
    const int bw = kTypeImageSize, bh = kTypeImageSize, qw = kArrowWidth, qh = kArrowHeight;
    BandViews& v = bands_[i];
    v.gainEdit = NewBandEdit(this, pageid::kGainEdit + i, Ltrb(x, h - 1, x + bw + w, 2 * h + 1), "+0.0 dB");
    v.gainSlider =
        AddSlider(pageid::kGainSlider + i, Qt::Vertical, Ltrb(x + bw, 2 * h + 1, x + bw + w, 2 * h + 131),
                  -kMaxGainTenths, -kMinGainTenths, 0);
    // +12 dB at the top: the minimum is up, and Up lowers the position.
    v.gainSlider->setInvertedAppearance(true);
    v.gainSlider->setInvertedControls(true);
    v.gainSlider->setSingleStep(1);
    v.gainSlider->setPageStep(40);
    // Only the three edits are Tab stops; the slider and the buttons take the focus by a click.
    v.gainSlider->setFocusPolicy(Qt::ClickFocus);
    if (auto* s = qobject_cast<QSlider*>(v.gainSlider)) {
        s->setTickPosition(QSlider::TicksBothSides);
        s->setTickInterval(40);
    }
    pageview::SetScaleDivisor(v.gainSlider, 10);
    // As tall as the gain edit: at one line high the value would sit on the frame.
    v.freqEdit = NewBandEdit(this, pageid::kFreqEdit + i, Ltrb(x, 2 * h + 137, x + bw + w, 3 * h + 139), "0");
    // The Q row spans the column like the edits above it, so "128.0" shows whole between the arrows.
    const int qTop = 3 * h + 145, qRight = x + bw + w;
    v.qMinus =
        NewImageButton(this, pageid::kQButton + 2 * i, Ltrb(x, qTop, x + qw, qTop + qh), QArrowImage(false));
    v.qEdit = NewBandEdit(this, pageid::kQEdit + i, Ltrb(x + qw, qTop, qRight - qw, qTop + qh), "2.0");
    v.qPlus = NewImageButton(this, pageid::kQButton + 2 * i + 1, Ltrb(qRight - qw, qTop, qRight, qTop + qh),
                             QArrowImage(true));
    const int t = 2 * h + 1 + 3 * (42 - bh);
    for (int k = 0; k < 3; ++k) {
        const int top = t + k * (bh + 2);
        v.typeButtons[k] =
            NewImageButton(this, pageid::kTypeButton + 3 * i + k, Ltrb(x, top, x + bw, top + bh),
                           TypeButtonImage(kTypePeaking + k, k == 0));
    }
    v.shownType = kTypePeaking;

    for (QLineEdit* e : {v.gainEdit, v.freqEdit, v.qEdit}) e->installEventFilter(this);
    for (QAbstractButton* b : {v.qMinus, v.qPlus}) {
        const int id = win::ControlId(b);
        connect(b, &QAbstractButton::clicked, this, [this, id] { OnQButton(id); });
    }
    for (QAbstractButton* b : v.typeButtons) {
        const int id = win::ControlId(b);
        connect(b, &QAbstractButton::clicked, this, [this, id] { OnTypeButton(id); });
    }
    eqRight = x + bw + w;
    contentHeight = qTop + qh;
}

bool Page::SetTypeButtons(int band, int type) {
    if (!model_.IsBand(band)) return false;
    BandViews& v = bands_[band];
    // Only a button whose selection changes gets a new image: a preset file or a reset sets every
    // band's type, mostly to the one shown already.
    for (int k = 0; k < 3; ++k) {
        const bool selected = type == kTypePeaking + k;
        if (v.shownType >= 0 && selected == (v.shownType == kTypePeaking + k)) continue;
        if (QAbstractButton* b = v.typeButtons[k]) b->setIcon(TypeIcon(kTypePeaking + k, selected));
    }
    v.shownType = type;
    model_.band.type[band] = type;
    return true;
}

const QIcon& Page::TypeIcon(int type, bool selected) {
    QIcon& icon = typeIcons_[static_cast<std::size_t>(2 * (type - kTypePeaking) + (selected ? 1 : 0))];
    if (icon.isNull()) icon = QIcon(TypeButtonImage(type, selected));
    return icon;
}

bool Page::ValidateEdit(int id) {
    const int n = model_.bandCount;
    BandEdit kind;
    int i;
    if (id >= pageid::kFreqEdit && id < pageid::kFreqEdit + n) {
        kind = BandEdit::kFreq, i = id - pageid::kFreqEdit;
    } else if (id >= pageid::kGainEdit && id < pageid::kGainEdit + n) {
        kind = BandEdit::kGain, i = id - pageid::kGainEdit;
    } else if (id >= pageid::kQEdit && id < pageid::kQEdit + n) {
        kind = BandEdit::kQ, i = id - pageid::kQEdit;
    } else {
        return false;
    }
    BandViews& v = bands_[i];
    QLineEdit* edit = kind == BandEdit::kFreq ? v.freqEdit : kind == BandEdit::kGain ? v.gainEdit : v.qEdit;
    if (!edit) return false;

    const EditCheck check = CheckBandEdit(kind, edit->text().toStdString());
    if (check.verdict != EditVerdict::kAccept) {
        validating_ = true;
        const int language = model_.language;
        if (check.verdict == EditVerdict::kInvalidInput) {
            const QString text = QString::fromStdString(InvalidInputText(language));
            win::MessageBox(nullptr, text, text, win::kMbOk, language);
        } else {
            win::MessageBox(nullptr, QString::fromStdString(RangeBoxMessage(kind, language)),
                            QString::fromStdString(RangeBoxCaption(language)), win::kMbOk, language);
        }
        validating_ = false;
        if (kind == BandEdit::kFreq) ShowBandFreq(i);
        if (kind == BandEdit::kGain)
            pageview::ShowEditText(edit, QString::fromStdString(GainText(model_.band.gain[i])));
        if (kind == BandEdit::kQ) ShowBandQ(i);
        pageview::SelectWholeText(edit);
        return false;
    }
    switch (kind) {
        case BandEdit::kFreq:
            model_.band.freq[i] = check.hz;
            Notify(notice::kBandFreq, static_cast<win::WPARAM>(i), check.hz);
            ShowBandFreq(i);
            pageview::SelectWholeText(edit);
            break;
        case BandEdit::kGain:
            model_.band.gain[i] = check.value;
            ShowBandGain(i);
            Notify(notice::kBandGain, static_cast<win::WPARAM>(i), check.tenths);
            break;
        case BandEdit::kQ:
            model_.band.q[i] = check.value;
            Notify(notice::kBandQ, static_cast<win::WPARAM>(i), check.tenths);
            ShowBandQ(i);
            break;
    }
    return true;
}

void Page::OnQButton(int id) {
    const int i = (id - pageid::kQButton) / 2;
    if (id < pageid::kQButton || !model_.IsBand(i)) return;
    const bool plus = (id - pageid::kQButton) % 2 == 1;
    int tenths = QTenths(model_.band.q[i]) + (plus ? 1 : -1);
    if (tenths < kMinQTenths) tenths = kMinQTenths;
    if (tenths > kMaxQTenths) tenths = kMaxQTenths;
    model_.band.q[i] = static_cast<float>(tenths) / 10.0f;
    if (!bands_[i].qEdit) return;
    Notify(notice::kBandQ, static_cast<win::WPARAM>(i), tenths);
    ShowBandQ(i);
}

void Page::OnTypeButton(int id) {
    if (id < pageid::kTypeButton) return;
    const int band = (id - pageid::kTypeButton) / 3;
    const int type = (id - pageid::kTypeButton) % 3 + 1;
    if (!SetTypeButtons(band, type)) return;
    Notify(notice::kBandType, static_cast<win::WPARAM>(band), type);
}

void Page::OnVScroll(int id, int pos) {
    const int i = id - pageid::kGainSlider;
    if (i < 0 || !model_.IsBand(i) || !bands_[i].gainSlider) return;
    if (!isVisible()) {
        ShowBandGain(i);  // a hidden page's slider keeps showing the model
        return;
    }
    const float g = static_cast<float>(-pos) / 10.0f;
    if (g == model_.band.gain[i]) return;
    model_.band.gain[i] = g;
    pageview::ShowEditText(bands_[i].gainEdit, QString::fromStdString(GainText(g)));
    Notify(notice::kBandGain, static_cast<win::WPARAM>(i), -pos);
}

void Page::RefocusLater(QLineEdit* edit) {
    QPointer<QLineEdit> target(edit);
    QTimer::singleShot(0, this, [target] {
        if (!target) return;
        target->setFocus(Qt::OtherFocusReason);
        pageview::SelectWholeText(target);
    });
}

bool Page::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    const int id = win::ControlId(edit);
    const int n = model_.bandCount;
    const bool bandEdit = edit && ((id >= pageid::kGainEdit && id < pageid::kGainEdit + n) ||
                                   (id >= pageid::kFreqEdit && id < pageid::kFreqEdit + n) ||
                                   (id >= pageid::kQEdit && id < pageid::kQEdit + n));
    if (!bandEdit) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::FocusIn:
            Notify(notice::kBandFocus, static_cast<win::WPARAM>(id % 100), 0);
            break;
        case QEvent::FocusOut:
            // Tabbing through an unchanged edit rewrites and sends nothing.
            if (!validating_ && edit->isModified() && !ValidateEdit(id)) RefocusLater(edit);
            break;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (ValidateEdit(id)) {
                    if (QWidget* parent = parentWidget())
                        parent->setFocus(Qt::OtherFocusReason);
                    else
                        edit->clearFocus();
                } else {
                    RefocusLater(edit);
                }
                return true;
            }
            if (key == Qt::Key_Escape) return true;
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void Page::keyPressEvent(QKeyEvent* event) {
    // Enter and Esc end here: neither reaches the main window.
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (QWidget* focused = focusWidget()) ValidateEdit(win::ControlId(focused));
            event->accept();
            return;
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}
