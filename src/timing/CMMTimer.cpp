#include "timing/CMMTimer.h"

#include "base/RuntimeError.h"
#include "platform/ui/MessageBox.h"

namespace quillmark {
namespace {

void Report(const char* operation)
{
    MsgBox(ErrorReport(CurrentError()), std::string("CMMTimer.") + operation);
}

} // namespace

CMMTimer::CMMTimer(TickSource ticks) : ticks_(std::move(ticks))
{
    Class_Initialize();
}

void CMMTimer::Class_Initialize()
{
    ScaleFactorValue = 1000;
}

void CMMTimer::SetScaleFactor(std::int32_t value)
{
    if (value > 0)
        ScaleFactorValue = value;
}

std::int32_t CMMTimer::GetCurrentElapsedTime()
{
    try {
        if (StartTick != 0 && !Stopped)
            return CheckedSub(Tick(), StartTick);
    } catch (...) {
        Report("GetCurrentElapsedTime");
    }
    return 0;
}

double CMMTimer::ElapsedTime()
{
    try {
        const std::int32_t total = CheckedAdd(AccumulatedTicks, GetCurrentElapsedTime());
        return static_cast<double>(total) / static_cast<double>(ScaleFactorValue);
    } catch (...) {
        Report("ElapsedTime");
        return 0;
    }
}

void CMMTimer::ResumeTimer()
{
    try {
        StartTick = Tick();
        Stopped = false;
    } catch (...) {
        Report("ResumeTimer");
    }
}

void CMMTimer::StartTimer()
{
    try {
        StartTick = Tick();
        Stopped = false;
        AccumulatedTicks = 0;
    } catch (...) {
        Report("StartTimer");
    }
}

void CMMTimer::StopTimer()
{
    try {
        AccumulatedTicks = CheckedAdd(AccumulatedTicks, GetCurrentElapsedTime());
        StartTick = 0;
        Stopped = true;
    } catch (...) {
        Report("StopTimer");
    }
}

} // namespace quillmark
