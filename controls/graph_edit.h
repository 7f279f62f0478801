#pragma once
// Mouse, wheel and key editing of the equaliser graph, the two setters and the blink step, as
// plain logic over GraphState. The window supplies the effects through GraphEditHost.

#include <QPoint>
#include <QRect>
#include <cstdint>

#include "controls/graph_axes.h"
#include "controls/graph_state.h"

namespace controls {

class GraphEditHost {
  public:
    virtual ~GraphEditHost() = default;
    // Synchronous private message to the parent.
    virtual void Notify(unsigned msg, std::uint32_t wParam, std::int32_t lParam) = 0;
    virtual void InvalidateAll() = 0;
    virtual void InvalidateArea(const QRect& area) = 0;
    // One blink step after 47 ms.
    virtual void ArmBlink() = 0;
    virtual void KillBlink() = 0;
};

enum class EditKey { Up, Down, Left, Right, Other };

constexpr int kWheelNotch = 120;

// Value * 10 rounded to the nearest integer; non-finite values count as 0.
int Tenths(double value);

class GraphEditing {
  public:
    GraphEditing(GraphState& state, GraphEditHost& host) : s_(state), host_(host) {}

    void Press(const GraphAxes& axes, QPoint at);
    void Move(const GraphAxes& axes, QPoint at, bool leftHeld);
    void Release() { s_.dragging = 0; }
    // Vertical wheel delta in eighths of a degree (120 per notch).
    void Wheel(int delta);
    // True when the key is consumed.
    bool Key(EditKey key);

    void SetBandType(int band, int type);
    void SetBandFreq(int band, int freq);
    // Timer 1: one step of the selected marker's pulse.
    void BlinkStep();

  private:
    // Frequency and gain tenths at a client point, both held to their ranges.
    void PointValues(const GraphAxes& axes, QPoint at, int& freq, int& gainTenths) const;
    bool SelectForSetter(int band);
    // A press turns the pulse towards shrinking, from no less than step 0.
    void StartShrinking();

    GraphState& s_;
    GraphEditHost& host_;
    int wheelRest_ = 0;
    int wheelBand_ = -1;
};

}  // namespace controls
