#pragma once
// The equaliser graph control: shows the page's bands and their summed response and lets the user
// drag, wheel and nudge the peaking bands. Drawing and editing live in GraphRenderer and
// GraphEditing; this widget wires them to Qt events, the blink timer and the parent's messages.

#include <QWidget>
#include <functional>
#include <string>

#include "controls/graph_axes.h"
#include "controls/graph_edit.h"
#include "controls/graph_render.h"
#include "controls/graph_state.h"
#include "platform/ui/timers.h"

namespace controls {

class CGraphWave : public QWidget, public GraphState, private GraphEditHost {
    Q_OBJECT
  public:
    explicit CGraphWave(QWidget* parent = nullptr, ResponseFn response = nullptr);

    // Select `band`, start a blink step and set its type / frequency; bands outside 0..16 are ignored.
    void SetBandType(int band, int type);
    void SetBandFreq(int band, int freq);

    // For the owner after writing fields directly.
    void Invalidate() { update(); }
    void ArmBlink() override;
    void KillBlink() override;
    bool BlinkArmed() const { return timers_.IsSet(kBlinkTimerId); }
    void OnTimer(std::uint32_t id);

    GraphAxes Axes() const { return GraphAxes(width(), height(), leftMargin); }
    // The picture as it stands (what the next paint shows).
    const QImage& Picture();
    const GraphRenderer& Renderer() const { return renderer_; }

    // Where the repaint trace goes; standard output unless replaced.
    using TraceSink = std::function<void(const std::string&)>;
    void SetTraceSink(TraceSink sink) { trace_ = std::move(sink); }

  protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

  private:
    void Notify(unsigned msg, std::uint32_t wParam, std::int32_t lParam) override;
    void InvalidateAll() override { update(); }
    void InvalidateArea(const QRect& area) override;
    void EnsureLeftMargin();

    GraphRenderer renderer_;
    GraphEditing editing_;
    win::WindowTimers timers_;
    TraceSink trace_;
};

}  // namespace controls
