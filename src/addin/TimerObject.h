#pragma once

#include "addin/ICMMTimer.h"
#include "platform/com/ComObject.h"
#include "timing/CMMTimer.h"

namespace quillmark {

// CMMTimer as the library's public creatable class Quillmark.CMMTimer.
class TimerObject final : public com::ComObject<TimerObject, ICMMTimer> {
public:
    void* Interface(const com::Guid& iid);

    com::HResult GetIDsOfNames(const std::string& name, com::DispId* id) override;
    com::HResult Invoke(com::DispId id, std::uint16_t kind, std::vector<com::Variant>& args, com::Variant* result,
                        com::ExcepInfo* excep) override;

    double ElapsedTime() override { return timer_.ElapsedTime(); }
    std::int32_t ScaleFactor() override { return timer_.ScaleFactor(); }
    void SetScaleFactor(std::int32_t value) override { timer_.SetScaleFactor(value); }
    void ResumeTimer() override { timer_.ResumeTimer(); }
    void StartTimer() override { timer_.StartTimer(); }
    void StopTimer() override { timer_.StopTimer(); }

private:
    CMMTimer timer_;
};

} // namespace quillmark
