#include "app/simulation/simulation_service.h"

#include <utility>

namespace vlt {

// Between runs nothing is written and nothing asked; a run always points the
// host at its own observer first.
class SimulationService::NoObserver final : public RunObserver, private OutputBox, MessageBoxes {
public:
    OutputBox& Output() override { return *this; }
    MessageBoxes& Messages() override { return *this; }

private:
    const std::string& Text() const override { return none_; }
    void Append(const std::string& /*text*/) override {}
    void Clear() override {}
    void MoveCaretToEnd() override {}
    void Refresh() override {}
    MsgResult Show(const std::string& /*text*/, const std::string& /*title*/,
                   MsgButtons /*buttons*/, MsgIcon /*icon*/) override {
        return MsgResult::Ok;
    }

    const std::string none_;
};

RunObserver& SimulationService::Idle() {
    static NoObserver idle;
    return idle;
}

SimulationService::SimulationService(HelioPositionSource& positions, IndexLookup& prices,
                                     const AmountFormatter& amounts)
    : host_(Idle(), std::stop_token()),
      text_(host_.Output(), amounts),
      simulation_(host_, text_, positions, prices) {}

SimulationRunResult SimulationService::Run(const SimulationRequest& request, RunObserver& observer,
                                           std::stop_token stop) {
    host_.Use(observer, std::move(stop));
    const int before = host_.MessagesShown();
    SimulationRunResult result;
    result.outcome = simulation_.Click(request);
    result.messages = host_.MessagesShown() - before;
    host_.Use(Idle(), std::stop_token());
    return result;
}

}  // namespace vlt
