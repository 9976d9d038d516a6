#pragma once

#include "platform/clock/TickCounter.h"

#include <cstdint>

namespace quillmark {

// Elapsed wall-clock time in milliseconds from a 32-bit tick counter, reported divided by a
// scale factor (seconds by default). Failures are reported in a message box, never thrown.
class CMMTimer {
public:
    explicit CMMTimer(TickSource ticks = timeGetTime);

    double ElapsedTime();
    std::int32_t ScaleFactor() const { return ScaleFactorValue; }
    void SetScaleFactor(std::int32_t value); // values of 0 or below are ignored
    // Restarts the running interval; on a stopped timer it continues the banked total.
    void ResumeTimer();
    void StartTimer();
    void StopTimer();

private:
    void Class_Initialize();
    std::int32_t GetCurrentElapsedTime();
    std::int32_t Tick() { return static_cast<std::int32_t>(ticks_()); }

    TickSource ticks_;
    std::int32_t ScaleFactorValue = 0;
    std::int32_t AccumulatedTicks = 0;
    std::int32_t StartTick = 0; // 0: not running
    bool Stopped = false;
};

} // namespace quillmark
