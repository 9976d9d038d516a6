#include "timing/CMMTimer.h"

#include "platform/ui/MessageBox.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace quillmark {
namespace {

// A tick counter the test moves by hand.
struct FakeClock {
    std::uint32_t now = 1000;
    TickSource source()
    {
        return [this] { return now; };
    }
};

const std::string kOverflowReport = "Error_Number: 6.  : オーバーフローしました。\r\n<Erl>  In_Line: 0";

TEST(CMMTimer, NewInstanceReadsZeroWithDefaultScale)
{
    FakeClock clock;
    CMMTimer timer(clock.source());
    EXPECT_EQ(timer.ScaleFactor(), 1000);
    EXPECT_EQ(timer.ElapsedTime(), 0.0);
}

TEST(CMMTimer, StopFreezesTheReading)
{
    FakeClock clock;
    CMMTimer timer(clock.source());
    timer.StartTimer();
    clock.now += 1500;
    EXPECT_DOUBLE_EQ(timer.ElapsedTime(), 1.5); // running
    timer.StopTimer();
    clock.now += 700;
    EXPECT_DOUBLE_EQ(timer.ElapsedTime(), 1.5);
    timer.StopTimer(); // a second stop adds nothing
    EXPECT_DOUBLE_EQ(timer.ElapsedTime(), 1.5);
}

TEST(CMMTimer, StartAfterStopResetsTheTotal)
{
    FakeClock clock;
    CMMTimer timer(clock.source());
    timer.StartTimer();
    clock.now += 400;
    timer.StopTimer();
    timer.StartTimer();
    clock.now += 16;
    timer.StopTimer();
    EXPECT_DOUBLE_EQ(timer.ElapsedTime(), 0.016);
}

TEST(CMMTimer, StopOnNewInstanceStaysZero)
{
    FakeClock clock;
    CMMTimer timer(clock.source());
    timer.StopTimer();
    clock.now += 50;
    EXPECT_EQ(timer.ElapsedTime(), 0.0);
}

TEST(CMMTimer, ScaleFactorIgnoresValuesBelowOne)
{
    FakeClock clock;
    CMMTimer timer(clock.source());
    RecordingMessageBox box;
    for (std::int32_t bad : {0, -5, INT32_MIN}) {
        timer.SetScaleFactor(bad);
        EXPECT_EQ(timer.ScaleFactor(), 1000) << bad;
    }
    timer.SetScaleFactor(1);
    timer.StartTimer();
    clock.now += 1234;
    EXPECT_DOUBLE_EQ(timer.ElapsedTime(), 1234.0);
    EXPECT_TRUE(box.messages.empty());
}

TEST(CMMTimer, ResumeWhileRunningDiscardsTheRunningInterval)
{
    FakeClock clock;
    CMMTimer timer(clock.source());
    timer.StartTimer();
    clock.now += 1000;
    timer.ResumeTimer();
    clock.now += 1000;
    EXPECT_DOUBLE_EQ(timer.ElapsedTime(), 1.0);
}

TEST(CMMTimer, ResumeAfterStopContinuesTheTotal)
{
    FakeClock clock;
    CMMTimer timer(clock.source());
    timer.StartTimer();
    clock.now += 300;
    timer.StopTimer();
    clock.now += 5000; // not counted: the timer was stopped
    timer.ResumeTimer();
    clock.now += 200;
    EXPECT_DOUBLE_EQ(timer.ElapsedTime(), 0.5);
    timer.StopTimer();
    clock.now += 100;
    EXPECT_DOUBLE_EQ(timer.ElapsedTime(), 0.5);
}

TEST(CMMTimer, MeasuresAcrossTheCounterWrap)
{
    FakeClock clock;
    clock.now = 0xFFFFFFFFu - 999; // -1000 as a signed value
    CMMTimer timer(clock.source());
    timer.StartTimer();
    clock.now = 500; // wrapped
    timer.StopTimer();
    EXPECT_DOUBLE_EQ(timer.ElapsedTime(), 1.5);
}

TEST(CMMTimer, CrossingTwoToThe31ReportsOncePerReadAndCountsZero)
{
    FakeClock clock;
    clock.now = 0x7FFFFFF0u;
    CMMTimer timer(clock.source());
    RecordingMessageBox box;
    timer.StartTimer();
    clock.now = 0x80000010u;
    EXPECT_EQ(timer.ElapsedTime(), 0.0);
    EXPECT_EQ(timer.ElapsedTime(), 0.0);
    ASSERT_EQ(box.messages.size(), 2u);
    EXPECT_EQ(box.messages[0], (RecordingMessageBox::Message{kOverflowReport, "CMMTimer.GetCurrentElapsedTime"}));
    timer.StopTimer(); // the running interval counts as 0 and the stop goes through
    clock.now += 10;
    EXPECT_EQ(timer.ElapsedTime(), 0.0);
    EXPECT_EQ(box.messages.size(), 3u);
}

TEST(CMMTimer, TickOfZeroAtStartReadsAsNotRunning)
{
    FakeClock clock;
    clock.now = 0;
    CMMTimer timer(clock.source());
    timer.StartTimer();
    clock.now = 250;
    EXPECT_EQ(timer.ElapsedTime(), 0.0);
}

TEST(CMMTimer, BankedTotalOverflowIsReportedByStopAndByRead)
{
    FakeClock clock;
    CMMTimer timer(clock.source());
    RecordingMessageBox box;
    // Bank nearly 2^31 ms over two measurements (StopTimer adds to the bank, ResumeTimer
    // continues it), then run past the limit.
    clock.now = 1;
    timer.StartTimer();
    clock.now = 0x7FFFFFF0u;
    timer.StopTimer();
    clock.now = 10; // after the counter wrapped: the running interval itself is small
    timer.ResumeTimer();
    clock.now = 110;
    EXPECT_EQ(timer.ElapsedTime(), 0.0);
    timer.StopTimer();
    ASSERT_EQ(box.messages.size(), 2u);
    EXPECT_EQ(box.messages[0], (RecordingMessageBox::Message{kOverflowReport, "CMMTimer.ElapsedTime"}));
    EXPECT_EQ(box.messages[1], (RecordingMessageBox::Message{kOverflowReport, "CMMTimer.StopTimer"}));
    // The failed stop changed nothing: the timer still runs.
    clock.now += 5;
    EXPECT_EQ(timer.ElapsedTime(), 0.0);
    EXPECT_EQ(box.messages.size(), 3u);
}

} // namespace
} // namespace quillmark
