#include "controls/graph_wave.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cstdio>

#include "controls/graph_layout.h"
#include "controls/graph_trace.h"
#include "platform/ui/controls.h"
#include "platform/ui/window.h"

namespace controls {

namespace {
void WriteStdout(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

EditKey ToEditKey(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Up:
            return EditKey::Up;
        case Qt::Key_Down:
            return EditKey::Down;
        case Qt::Key_Left:
            return EditKey::Left;
        case Qt::Key_Right:
            return EditKey::Right;
        default:
            return EditKey::Other;
    }
}
}  // namespace

CGraphWave::CGraphWave(QWidget* parent, ResponseFn response)
    : QWidget(parent),
      renderer_(response),
      editing_(*this, *this),
      timers_([this](std::uint32_t id) { OnTimer(id); }, this),
      trace_(&WriteStdout) {
    win::SetControlId(this, kGraphWaveId);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // Every pixel comes from the rendered picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CGraphWave::SetBandType(int band, int type) {
    editing_.SetBandType(band, type);
}
void CGraphWave::SetBandFreq(int band, int freq) {
    editing_.SetBandFreq(band, freq);
}

void CGraphWave::ArmBlink() {
    timers_.Set(kBlinkTimerId, kBlinkPeriodMs);
}
void CGraphWave::KillBlink() {
    timers_.Kill(kBlinkTimerId);
}

void CGraphWave::OnTimer(std::uint32_t id) {
    if (id == kBlinkTimerId) editing_.BlinkStep();
}

void CGraphWave::InvalidateArea(const QRect& area) {
    update(area);
}

void CGraphWave::Notify(unsigned msg, std::uint32_t wParam, std::int32_t lParam) {
    win::SendToParent(this, msg, wParam, lParam);
}

void CGraphWave::EnsureLeftMargin() {
    if (leftMargin == 0) leftMargin = MeasureLeftMargin();
}

const QImage& CGraphWave::Picture() {
    EnsureLeftMargin();
    const GraphAxes axes = Axes();
    if (HasMarker(selected)) blinkRect = MarkerSquare(*this, axes, selected);
    return renderer_.Render(*this, size());
}

void CGraphWave::paintEvent(QPaintEvent*) {
    const QImage& picture = Picture();
    if (!Axes().PlotTooNarrow() && trace_) trace_(GraphTraceLines(Curve()));
    QPainter p(this);
    p.drawImage(0, 0, picture);
}

void CGraphWave::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
    EnsureLeftMargin();
    editing_.Press(Axes(), e->position().toPoint());
}

void CGraphWave::mouseMoveEvent(QMouseEvent* e) {
    EnsureLeftMargin();
    editing_.Move(Axes(), e->position().toPoint(), (e->buttons() & Qt::LeftButton) != 0);
}

void CGraphWave::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) editing_.Release();
}

// The second click of a double click is not a second press.
void CGraphWave::mouseDoubleClickEvent(QMouseEvent*) {}

void CGraphWave::wheelEvent(QWheelEvent* e) {
    editing_.Wheel(e->angleDelta().y());
    e->accept();
}

// Keys are taken before Qt's own handling, so Tab and Enter are consumed too while a band is selected.
bool CGraphWave::event(QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (editing_.Key(ToEditKey(key->key()))) {
            e->accept();
            return true;
        }
    }
    return QWidget::event(e);
}

}  // namespace controls
