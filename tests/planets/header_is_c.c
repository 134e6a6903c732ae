/* The public header must compile as plain C. */
#include "planets/include/planets_vlt.h"

double planets_vlt_header_check(void) {
    double rv = 0.0;
    double lat = 0.0;
    (void)set_datafiles_folder("/");
    return gc_app_long_rv_planet(0, 2451545.0, 2000, &rv) +
           hc_j2000_long_rv_planet(1, 2451545.0, 2000, &rv) +
           hc_j2000_long_lat_rv_planet(2, 2451545.0, 2000, &lat, &rv) + PLANETS_VLT_ERR_JD;
}
