#pragma once
// How far a body's longitude can move between neighbouring grid points of a
// scan, and how much that move can change from one grid step to the next.
// The figures were measured from the program's own positions over the whole
// span of their data (tools/measure_motion_bounds); the scan uses them, with
// a safety margin, to prove that the steps it leaves out hold no event.

#include <array>
#include <cstdint>
#include <optional>

namespace vlt {

// Measured on the grids of step 1/8, 1/4 and 1/2 day: the largest move of
// the longitude in one step, per day, and on each grid the largest change of
// that move from one step to the next, per day squared.  Degrees.  (Where
// positions are interpolated between table days the change at a bend does
// not shrink with the square of the step, hence one figure per grid.)
// `jerk` is the largest third difference over four neighbouring grid points
// of one smooth piece (see SmoothPiece), per day cubed: across the boundary
// of two data-file records it would be dominated by the records' small
// jump, so it is measured, and used, only inside a piece.
struct LongitudeMotion {
    double rate = 0.0;
    std::array<double, 3> acceleration{};  // grids of 1/8, 1/4, 1/2 day
    std::array<double, 3> jerk{};
};

// The piece of a body's positions that holds universal time jd: positions of
// one piece are one smooth function of time.  The data-file planets change
// their coefficient record every five years (at 0h on 1 January of a year
// divisible by 5); every other body is one piece.
std::int32_t SmoothPiece(std::int16_t planet, double jd);

// The measured figures of a body (program planet number, the Sun standing
// for the Earth in heliocentric mode); none for a body without a table row.
std::optional<LongitudeMotion> MeasuredMotion(std::int16_t planet, bool heliocentric);

// The measured figures are multiplied by this before use.
inline constexpr double kMotionMargin = 1.25;

// For the separation of two bodies on a grid of `step` days, in radians and
// with the margin: `move` bounds the change of the separation between two
// neighbouring grid points, `bend` the change of that change between two
// neighbouring steps.  None for a body without figures or a step without a
// measured grid.
// `turn` bounds the third difference of the separation over four
// neighbouring grid points that lie in one smooth piece of both bodies.
struct SeparationBounds {
    double move = 0.0;
    double bend = 0.0;
    double turn = 0.0;
};
std::optional<SeparationBounds> SeparationStepBounds(std::int16_t first, std::int16_t second,
                                                     bool heliocentric, double step);

// A bound on the second derivative of the separation of two bodies inside
// one smooth piece of both, radians per day squared, with the margin: the
// largest second difference measured on any grid (the finest grid meets the
// curvature at its largest; a record change only makes the figure larger).
// None for Pluto, whose positions bend at every table day, and for a body
// without figures.
std::optional<double> SeparationCurvature(std::int16_t first, std::int16_t second,
                                          bool heliocentric);

}  // namespace vlt
