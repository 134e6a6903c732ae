#include <gtest/gtest.h>

#include <vector>

#include "app/support/run_control.h"

namespace {

using vlt::RunButton;
using vlt::RunControl;
using vlt::RunState;

enum class Op { Begin, Release, Click, Pause, Unpause, Stop, Unstop, Quit };

struct Step {
    Op op;
    RunButton button;
    bool clickPaused;   // what a click answered (Click only)
    RunState state;     // the state after the step
    RunButton running;  // the run's button after the step
};

struct Case {
    const char* name;
    std::vector<Step> steps;
};

bool Apply(RunControl& control, const Step& step) {
    switch (step.op) {
        case Op::Begin:
            control.Begin(step.button);
            break;
        case Op::Release:
            control.Release(step.button);
            break;
        case Op::Click:
            return control.ClickRequestsPause(step.button);
        case Op::Pause:
            control.SetPauseRequested(true);
            break;
        case Op::Unpause:
            control.SetPauseRequested(false);
            break;
        case Op::Stop:
            control.SetStopRequested(true);
            break;
        case Op::Unstop:
            control.SetStopRequested(false);
            break;
        case Op::Quit:
            control.Quit();
            break;
    }
    return false;
}

constexpr RunButton kNone = RunButton::None;
constexpr RunButton kStart = RunButton::Start;
constexpr RunButton kSimulate = RunButton::Simulate;

TEST(RunControl, Transitions) {
    const Case cases[] = {
        {"a click while idle starts a command, it does not pause",
         {{Op::Click, kStart, false, RunState::Idle, kNone},
          {Op::Click, kSimulate, false, RunState::Idle, kNone}}},
        {"a click on the run's own button only asks for a pause",
         {{Op::Begin, kStart, false, RunState::Running, kStart},
          {Op::Click, kStart, true, RunState::PauseRequested, kStart},
          {Op::Unpause, kNone, false, RunState::Running, kStart},
          {Op::Release, kStart, false, RunState::Idle, kNone}}},
        {"a click on the other button does not pause the run",
         {{Op::Begin, kSimulate, false, RunState::Running, kSimulate},
          {Op::Click, kStart, false, RunState::Running, kSimulate},
          {Op::Click, kNone, false, RunState::Running, kSimulate},
          {Op::Click, kSimulate, true, RunState::PauseRequested, kSimulate}}},
        {"recaptioning the other button leaves the run under way",
         {{Op::Begin, kSimulate, false, RunState::Running, kSimulate},
          {Op::Release, kStart, false, RunState::Running, kSimulate},
          {Op::Release, kSimulate, false, RunState::Idle, kNone}}},
        {"a stop request outlasts the run of a series and beats a pause",
         {{Op::Begin, kStart, false, RunState::Running, kStart},
          {Op::Pause, kNone, false, RunState::PauseRequested, kStart},
          {Op::Stop, kNone, false, RunState::StopRequested, kStart},
          {Op::Unpause, kNone, false, RunState::StopRequested, kStart},
          {Op::Release, kStart, false, RunState::StopRequested, kNone},
          {Op::Unstop, kNone, false, RunState::Idle, kNone}}},
        {"quitting beats every request and stays",
         {{Op::Begin, kStart, false, RunState::Running, kStart},
          {Op::Stop, kNone, false, RunState::StopRequested, kStart},
          {Op::Quit, kNone, false, RunState::Quitting, kStart},
          {Op::Unstop, kNone, false, RunState::Quitting, kStart},
          {Op::Release, kStart, false, RunState::Quitting, kNone}}},
    };
    for (const Case& c : cases) {
        RunControl control;
        int n = 0;
        for (const Step& step : c.steps) {
            EXPECT_EQ(Apply(control, step), step.clickPaused) << c.name << ", step " << n;
            EXPECT_EQ(control.State(), step.state) << c.name << ", step " << n;
            EXPECT_EQ(control.Button(), step.running) << c.name << ", step " << n;
            EXPECT_EQ(control.Running(), step.running != kNone) << c.name << ", step " << n;
            ++n;
        }
    }
}

}  // namespace
