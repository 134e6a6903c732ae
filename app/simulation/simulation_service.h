#pragma once
// The investment simulation as a service: a request, an observer and a stop
// token in, how the run ended out, and what the run left (its records,
// events and totals) kept for the formatters until the next run.  The run
// itself writes no text: the service's text sink formats each event as the
// run tells it and writes it to the observer's output, so the window's box
// fills as the run goes.  The window's busy display plays no part.

#include <stop_token>

#include "app/simulation/amount_format.h"
#include "app/simulation/investment_simulation.h"
#include "app/simulation/position_window.h"
#include "app/simulation/simulation_request.h"
#include "app/simulation/simulation_text.h"
#include "app/support/service_host.h"

namespace vlt {

struct SimulationRunResult {
    SimulationOutcome outcome = SimulationOutcome::Refused;
    // Messages the run showed; any at all means the report is not whole.
    int messages = 0;
};

class SimulationService {
public:
    // Each must outlive the service.
    SimulationService(HelioPositionSource& positions, IndexLookup& prices,
                      const AmountFormatter& amounts);

    SimulationRunResult Run(const SimulationRequest& request, RunObserver& observer,
                            std::stop_token stop);

    // What the last run left.
    const InvestmentSimulation& Simulation() const { return simulation_; }

private:
    // Stands in for the observer between runs; the host is pointed at each
    // run's own.
    class NoObserver;

    static RunObserver& Idle();

    ServiceHost host_;
    SimulationTextSink text_;
    InvestmentSimulation simulation_;
};

}  // namespace vlt
