// Normal gravity and the anomalies, after Hinze et al. (2005), "New standards for reducing
// gravity data: the North American gravity database", Geophysics 70(4), J25-J32. Gravity in mGal,
// heights in metres above the ellipsoid (the readings' altitudes stand for them), latitudes in
// degrees.
#pragma once

namespace gravity {

// GRS80 normal gravity on the ellipsoid, closed form (Somigliana).
double normal_gravity(double latitude_deg);

// The second-order height correction of normal gravity: negative above the ellipsoid.
double height_correction(double latitude_deg, double height_m);

// The gravity of the atmosphere above the station, added back to the anomaly.
double atmospheric_correction(double height_m);

// The Bouguer slab 2 pi G rho h, density in kg/m^3 (0.04193 mGal per metre per g/cm^3).
double bouguer_slab(double density_kg_m3, double height_m);

// Free-air anomaly: g - (normal gravity + height correction) + atmospheric correction.
double free_air_anomaly(double gravity, double latitude_deg, double height_m);

} // namespace gravity
