// Main window: controls at their template places, page layout, tab switching and the resize rule.
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabBar>
#include <algorithm>
#include <tuple>
#include <vector>

#include "console/control_ids.h"
#include "console/language_tables.h"
#include "console/main_client.h"
#include "console/main_dialog.h"
#include "console/main_template.h"
#include "console/page_factory.h"
#include "console/status_lamp_button.h"
#include "controls/band_types.h"
#include "controls/graph_wave.h"
#include "controls/slider.h"
#include "controls/tab.h"
#include "controls/text_height.h"
#include "pages/iwave.h"
#include "platform/ui/controls.h"
#include "platform/ui/dialog_units.h"

using namespace console;

namespace {

template <class T>
T* Place(T* control, const win::DialogUnits& units, int id) {
    win::SetControlId(control, id);
    control->setGeometry(TemplateRect(units, id));
    return control;
}

QLabel* MakeStatic(QWidget* parent, const win::DialogUnits& units, int id) {
    auto* label = Place(new QLabel(parent), units, id);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QSlider* MakeMasterSlider(QWidget* parent, const win::DialogUnits& units, int id) {
    auto* slider = Place(new controls::Slider(Qt::Horizontal, parent), units, id);
    slider->setTickPosition(QSlider::TicksBelow);
    return slider;
}

}  // namespace

void CVelmor_Zem_R7Dlg::CreateControls() {
    const win::DialogUnits units(m_client->font());
    m_initClientRect = QRect(QPoint(0, 0), TemplateClientSize(units));
    m_client->resize(m_initClientRect.size());

    MakeStatic(m_client, units, kIdMusicCaption);
    m_musicSlider = MakeMasterSlider(m_client, units, kIdMusicSlider);
    m_musicValue = MakeStatic(m_client, units, kIdMusicValue);
    MakeStatic(m_client, units, kIdMicCaption);
    m_micSlider = MakeMasterSlider(m_client, units, kIdMicSlider);
    m_micValue = MakeStatic(m_client, units, kIdMicValue);
    MakeStatic(m_client, units, kIdEffectCaption);
    m_effectSlider = MakeMasterSlider(m_client, units, kIdEffectSlider);
    m_effectValue = MakeStatic(m_client, units, kIdEffectValue);

    m_presetCombo = Place(new QComboBox(m_client), units, kIdPresetCombo);
    // The template's height is that of the open list; the closed box keeps its own height.
    m_presetCombo->resize(m_presetCombo->width(), m_presetCombo->sizeHint().height());
    m_presetCombo->setMaxVisibleItems(16);
    m_save = Place(new QPushButton(m_client), units, kIdSave);
    m_load = Place(new QPushButton(m_client), units, kIdLoad);
    m_statusLamp = Place(new StatusLampButton(m_client), units, kIdStatusLamp);

    m_tab = Place(new controls::Tab(m_client), units, kIdTab);
    connect(m_tab, &QTabBar::currentChanged, this, [this](int index) { OnTabSelChange(index); });

    m_graph = Place(new controls::CGraphWave(m_client), units, kIdGraph);
    m_eqReset = Place(new QPushButton(m_client), units, kIdEqReset);
    m_eqPass = Place(new QPushButton(m_client), units, kIdEqPass);
    m_eqPass->setText(QString::fromUtf8(EqPassText()));
    connect(m_eqReset, &QPushButton::clicked, this, [this] { OnEqReset(); });
    connect(m_eqPass, &QPushButton::clicked, this, [this] { OnEqPass(); });
    m_graphRect = m_graph->geometry();
    CreatePageScrollBars();
}

void CVelmor_Zem_R7Dlg::LayoutPages() {
    QWidget* first = m_pages[pageindex::kMusic];
    const IWave* wave = WaveOf(first);
    const int top = m_tab->y() + kTabItemSize.height();
    int height = wave ? wave->GetContentHeight() : -1;
    if (height <= 0) height = m_tab->geometry().bottom() + 1 - top;
    // A row caption or a page's own column may reach below the band rows: keep them whole.
    for (int i = 0; i < kTabCount; ++i)
        if (const QWidget* page = PageAt(i)) height = std::max(height, page->childrenRect().bottom() + 1);
    m_pageRect = QRect(m_graph->x(), top, m_graph->width(), height);
    for (QWidget* page : m_pages) {
        if (!page) continue;
        page->setGeometry(m_pageRect);
        page->hide();
    }
    if (first) first->show();

    // The graph keeps its left, width and bottom; its top goes 5 pixels below the pages.
    QRect graph = m_graph->geometry();
    graph.setTop(m_pageRect.bottom() + 1 + 5);
    m_graphRect = graph;
}

int CVelmor_Zem_R7Dlg::PageOverflow() const {
    constexpr int kRightMargin = 4;
    int overflow = 0;
    for (QWidget* page : m_pages) {
        if (!page) continue;
        int right = 0;
        for (QObject* child : page->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (w && !w->isWindow() && w->isVisibleTo(page))
                right = std::max(right, w->geometry().right() + 1);
        }
        overflow = std::max(overflow, right + kRightMargin - page->width());
    }
    return overflow;
}

int CVelmor_Zem_R7Dlg::StartClientWidth() const {
    int width = m_initClientRect.width() + std::max(PageOverflow(), 0);
    // Room for the window frame, which is not known before the window is shown.
    constexpr int kFrameAllowance = 16;
    if (const QScreen* s = screen())
        width = std::min(width, s->availableGeometry().width() - kFrameAllowance);
    return std::max(width, m_initClientRect.width());
}

void CVelmor_Zem_R7Dlg::SetUpMasterSliders() {
    struct Master {
        QSlider* slider;
        QLabel* value;
        int start;
        int end;
    };
    const Master masters[] = {{m_musicSlider, m_musicValue, m_musicStartVol, m_musicEndVol},
                              {m_micSlider, m_micValue, m_micStartVol, m_micEndVol},
                              {m_effectSlider, m_effectValue, m_effectStartVol, m_effectEndVol}};
    for (const Master& m : masters) {
        const QSignalBlocker quiet(m.slider);
        m.slider->setTickInterval(8);
        m.slider->setRange(0, m.end);
        m.slider->setValue(m.start);
        m.slider->setPageStep(1);
        m.value->setText(QString::number(m.slider->value()));
    }
}

void CVelmor_Zem_R7Dlg::ShowPageCurve(int index) {
    IWave* wave = WaveAt(index);
    if (!wave) return;
    CurveRecord curve;
    wave->CopyCurve(curve);
    controls::GraphCurve& graph = m_graph->Curve();
    std::copy(std::begin(curve.freq), std::end(curve.freq), graph.freq);
    std::copy(std::begin(curve.gain), std::end(curve.gain), graph.gain);
    std::copy(std::begin(curve.q), std::end(curve.q), graph.q);
    std::copy(std::begin(curve.type), std::end(curve.type), graph.type);
    std::copy(std::begin(curve.shown), std::end(curve.shown), graph.shown);
    std::copy(std::begin(curve.enabled), std::end(curve.enabled), graph.enabled);
    m_graph->bandCount = wave->GetBandCount() - 2;
    if (const auto echo = CopyEchoFilters(PageAt(index))) {
        // The echo path's high-pass and low-pass on the graph's first and last bands.
        const int last = wave->GetBandCount() - 1;
        m_graph->SetBandFreq(0, echo->first);
        m_graph->SetBandType(0, controls::kTypeHighPass);
        if (last < kMaxBands) {
            m_graph->SetBandFreq(last, echo->second);
            m_graph->SetBandType(last, controls::kTypeLowPass);
        }
    }
    m_graph->bypass = wave->RecomputeBypass();
    m_graph->Invalidate();
}

void CVelmor_Zem_R7Dlg::OnTabSelChange(int selection) {
    if (selection < 0 || selection >= kTabCount) return;
    m_graph->show();
    m_eqReset->show();
    m_eqPass->show();
    for (QWidget* page : m_pages) {
        if (page) page->hide();
    }
    if (QWidget* page = PageAt(selection)) page->show();
    for (QScrollBar* bar : {m_pageHBar, m_pageVBar}) {
        const QSignalBlocker quiet(bar);
        bar->setValue(0);
    }
    LayoutPageArea();
    ShowPageCurve(selection);
    m_graph->selected = -1;
    m_graph->KillBlink();
}

void CVelmor_Zem_R7Dlg::OnSize() {
    if (m_layoutReady != kLayoutReady) return;
    const int dx = m_client->width() - m_initClientRect.width();
    const int dy = m_client->height() - m_initClientRect.height();
    m_graph->setGeometry(m_graphRect.adjusted(0, 0, dx, dy));
    m_eqPass->setGeometry(m_eqPassRect.translated(0, dy));
    m_eqReset->setGeometry(m_eqResetRect.translated(0, dy));
    // The pages take m_pageRect widened by dx; a page that does not fit scrolls.
    LayoutPageArea();
}

void CVelmor_Zem_R7Dlg::FitTopRow() {
    // Texts longer than the template allows widen their control; the sliders give up the room, and
    // whatever follows moves right, so no text is cut off in any language.
    const win::DialogUnits units(m_client->font());
    const QFontMetrics metrics(m_client->font());
    enum class Kind { Text, Slider, Combo, Button, Fixed };
    struct Item {
        int id;
        Kind kind;
    };
    const Item row[] = {
        {kIdMusicCaption, Kind::Text},  {kIdMusicSlider, Kind::Slider},  {kIdMusicValue, Kind::Text},
        {kIdMicCaption, Kind::Text},    {kIdMicSlider, Kind::Slider},    {kIdMicValue, Kind::Text},
        {kIdEffectCaption, Kind::Text}, {kIdEffectSlider, Kind::Slider}, {kIdEffectValue, Kind::Text},
        {kIdPresetCombo, Kind::Combo},  {kIdSave, Kind::Button},         {kIdLoad, Kind::Button},
        {kIdStatusLamp, Kind::Fixed}};
    // Boxes and buttons pushed along by a wider neighbour keep a gap; texts may abut as in the template.
    constexpr int kGap = 4;
    auto gapBefore = [&](std::size_t k) {
        return row[k].kind == Kind::Text || row[k].kind == Kind::Slider ? 0 : kGap;
    };
    constexpr int kMinSliderWidth = 48;
    // The row must end inside the narrowest client area the window can have.
    const int limitRight = std::max(m_initClientRect.width(), kMinimumWindowSize.width()) - 4;

    std::vector<QRect> placed;
    auto place = [&]() {
        placed.clear();
        int previousRight = 0;
        for (std::size_t k = 0; k < std::size(row); ++k) {
            const Item& item = row[k];
            QWidget* control = win::FindControl(m_client, item.id);
            const QRect slot = TemplateRect(units, item.id);
            QRect r = control ? control->geometry() : slot;
            const int left = std::max(slot.left(), previousRight + gapBefore(k));
            int width = slot.width();
            switch (item.kind) {
                case Kind::Text:
                    if (auto* label = qobject_cast<QLabel*>(control)) {
                        const int needed = metrics.horizontalAdvance(label->text()) + 2;
                        // The template lets a value label run under the next caption: stop short of it.
                        const int room = TemplateRect(units, row[k + 1].id).left() - left;
                        width = std::max(needed, std::min(width, room));
                        // Thai and CJK glyphs stand taller than the template's line.
                        r.setHeight(
                            std::max(slot.height(), controls::TextLineHeight(label->font(), label->text())));
                    }
                    break;
                case Kind::Slider:
                    width = std::max(slot.right() + 1 - left, kMinSliderWidth);
                    break;
                case Kind::Combo:
                    if (auto* combo = qobject_cast<QComboBox*>(control)) {
                        int widest = 0;
                        for (int i = 0; i < combo->count(); ++i)
                            widest = std::max(widest, metrics.horizontalAdvance(combo->itemText(i)));
                        width = std::max(width, widest + 30);
                    }
                    break;
                case Kind::Button:
                    if (auto* button = qobject_cast<QPushButton*>(control))
                        width = std::max(width, metrics.horizontalAdvance(button->text()) + 16);
                    break;
                case Kind::Fixed:
                    width = r.width();
                    break;
            }
            r.moveLeft(left);
            r.setWidth(width);
            placed.push_back(r);
            previousRight = r.right() + 1;
        }
        return previousRight;
    };
    if (place() > limitRight) {
        // From the right: controls move left up to the nearest slider, which gives up the room.
        int limit = limitRight;
        for (std::size_t k = placed.size(); k-- > 0;) {
            QRect& r = placed[k];
            if (r.right() + 1 <= limit) break;
            if (row[k].kind == Kind::Slider) {
                r.setRight(std::max(limit - 1, r.left() + kMinSliderWidth - 1));
                break;
            }
            r.moveRight(limit - 1);
            limit = r.left() - gapBefore(k);
        }
    }

    // A Thai or CJK caption's line stands taller than its value's digits: the value comes down to
    // the caption's baseline, so it does not read as raised beside it.
    for (std::size_t k = 0; k + 2 < std::size(row); ++k) {
        if (row[k].kind != Kind::Text || row[k + 1].kind != Kind::Slider || row[k + 2].kind != Kind::Text)
            continue;
        const auto* caption = qobject_cast<QLabel*>(win::FindControl(m_client, row[k].id));
        const auto* value = qobject_cast<QLabel*>(win::FindControl(m_client, row[k + 2].id));
        if (!caption || !value) continue;
        const int drop = controls::TextLineAscent(caption->font(), caption->text()) -
                         controls::TextLineAscent(value->font(), value->text());
        if (drop > 0) placed[k + 2].translate(0, drop);
    }

    std::size_t i = 0;
    for (const Item& item : row) {
        if (QWidget* control = win::FindControl(m_client, item.id)) control->setGeometry(placed[i]);
        ++i;
    }
}

void CVelmor_Zem_R7Dlg::FitEqButtons() {
    // A text wider than its template button widens it, as in the top row; EQ PASS keeps its gap
    // to EQ Reset. The rectangles the resize rule keeps follow.
    const win::DialogUnits units(m_client->font());
    constexpr int kTextRoom = 16;
    const QRect resetSlot = TemplateRect(units, kIdEqReset);
    const QRect passSlot = TemplateRect(units, kIdEqPass);
    const int gap = passSlot.left() - resetSlot.right() - 1;
    int previousRight = resetSlot.left() - gap - 1;
    for (auto [button, slot, saved] :
         {std::tuple{m_eqReset, resetSlot, &m_eqResetRect}, std::tuple{m_eqPass, passSlot, &m_eqPassRect}}) {
        const int left = std::max(slot.left(), previousRight + 1 + gap);
        const int width =
            std::max(slot.width(), button->fontMetrics().horizontalAdvance(button->text()) + kTextRoom);
        QRect r = button->geometry();
        r.moveLeft(left);
        r.setWidth(width);
        button->setGeometry(r);
        if (m_layoutReady == kLayoutReady) {
            saved->moveLeft(left);
            saved->setWidth(width);
        }
        previousRight = r.right();
    }
}
