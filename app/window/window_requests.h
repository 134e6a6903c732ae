#pragma once
// The requests the window's controls stand for, one function per command:
// the same typed requests vlt-report builds from its command line, run by the
// same services.  What only the window checks (its date boxes, with their
// labels and messages) it checks before building; every other rule is the
// request rules', applied by the service.

#include <optional>

#include "app/engine/transit_service.h"
#include "app/simulation/simulation_request.h"
#include "app/window/command_handlers.h"

namespace vlt {

// From a snapshot whose dates the date boxes have checked (their day
// numbers stand in WindowInputs::dayNumber).
TablesRequest TablesRequestFromControls(const WindowInputs& in);
SearchRequest SearchRequestFromControls(const WindowInputs& in);
// `item` is the show-all button pressed: 0 keeps the second planet and takes
// each of the first list, 1 keeps the first.
ShowAllRequest ShowAllRequestFromControls(const WindowInputs& in, int item);
SimulationRequest SimulationRequestFromControls(const WindowInputs& in);

// What a click on each button asks for: the window's own checks first, in
// the order the command makes them (each shows its message), then the
// request from the controls; nothing when a check failed.  Tables and
// show-all: both dates present, then both valid.  Search: a geocentric aspect
// the pair can form, both dates valid, then the date it starts from present.
std::optional<TablesRequest> TablesRequestOfClick(CommandWindow& window);
std::optional<SearchRequest> SearchRequestOfClick(CommandWindow& window);
std::optional<ShowAllRequest> ShowAllRequestOfClick(CommandWindow& window, int item);
SimulationRequest SimulationRequestOfClick(CommandWindow& window);

// The calendar date of a day number, as the date boxes would show it.
CalendarDate CalendarDateOfDay(std::int32_t dayNumber);

}  // namespace vlt
