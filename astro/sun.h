// SPDX-License-Identifier: GPL-3.0-or-later
// Heliocentric positions from the loaded planetary series, and the geometric geocentric
// Sun seen from the body whose series are loaded (the Earth, body 3).
#pragma once

#include "astro/position.h"
#include "astro/term_files.h"

namespace astro {

// Heliocentric L, B, R of body `planet` at T Julian centuries from J2000.0; the body's
// terms must be loaded in `terms`.
void PlanetPosition(const PlanetTerms& terms, int planet, double T, TPosition& pos);

// The Sun as seen from body `planet`: its heliocentric position turned by half a turn, in
// the frame of the loaded series, with no aberration or nutation applied.
void SunPosition(const PlanetTerms& terms, int planet, double T, TPosition& pos);

}  // namespace astro
