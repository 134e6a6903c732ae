/*
 * planets_vlt: heliocentric and apparent geocentric ecliptic longitudes of
 * the Sun and the planets Mercury to Neptune, and the apparent geocentric
 * longitude of the Moon, for a Julian date.
 *
 * Usable from C and C++.  The library links nothing but the C and C++
 * standard libraries and exports exactly the four functions below.
 *
 * Bodies (library planet numbers):
 *   0 or 3  Earth (heliocentric functions) / Sun (geocentric function)
 *   1 Mercury, 2 Venus, 4 Mars        trigonometric series inside the library
 *   5 Jupiter, 6 Saturn               data files jupiter.dac, saturn.dac,
 *                                     years -4000 to 2799
 *   7 Uranus, 8 Neptune               data files uranus.dac, neptune.dac,
 *                                     years 1600 to 2799
 *   10 Moon                           geocentric function only: data file
 *                                     moon.chb, 1600-01-01 0h to 2800-01-01 0h
 *                                     (before the Moon was added, 10 was
 *                                     refused like any other number; the
 *                                     heliocentric functions still refuse it)
 *   anything else (9 = Pluto, 11, negative numbers): PLANETS_VLT_ERR_PLANET
 *
 * Time: jd is a noon-based Julian date with its day fraction, used as the
 * series' time argument exactly as given (no time-scale correction).  The
 * series are those of a theory valid over the years -4000 to +2800; outside
 * that span results are still numbers but lose accuracy.  The Moon's records
 * are tabulated against universal time (the difference to dynamical time is
 * built into them): the Moon moves half an arc second per second of time,
 * so the minute or more between the two scales would show in its events.
 * A Moon date before 1600-01-01 0h gives PLANETS_VLT_ERR_YEAR_BEFORE, one
 * from 2800-01-01 0h on PLANETS_VLT_ERR_YEAR_AFTER; its year argument is
 * not used.
 *
 * year: the calendar year in which jd falls.  Only Jupiter to Neptune use it,
 * to choose the record of their data file.  Each record covers a block of
 * five calendar years (its header holds the block's first year, its origin T0
 * the block's middle and the field at offset 15 the block's end) and answers
 * for the dates from 30 days before its block to 30 days after it: a jd
 * outside that span (a year that does not go with jd, or a jd such as 0.0
 * or 1e300) gives PLANETS_VLT_ERR_RECORD, never an extrapolated value.
 *
 * Units: longitudes and latitudes in radians, distances in astronomical units.
 * A longitude returned on success lies in [0, 2pi).
 *
 * Result: every position function returns a double.  A value of -99 or less
 * is one of the error codes below; anything greater is a longitude.  On an
 * error nothing is written through the out-pointers.
 *
 * Out-pointers (lat, rv) may be NULL: the value is then computed and dropped.
 *
 * Threads: the position functions may be called from several threads at
 * once.  Each thread has its own path buffer and data-file record buffer
 * (thread-local storage), and every call still opens, reads and closes its
 * data file, so concurrent calls neither share nor cache anything and give
 * bit for bit the answers they give on one thread.  The data folder is the
 * one setting all threads share: set_datafiles_folder may be called at any
 * time (a call in progress uses either the old or the new folder, never a
 * mixture), but set it once before the threads start for predictable results.
 */
#ifndef PLANETS_VLT_H
#define PLANETS_VLT_H

#if defined(PLANETS_VLT_BUILDING) && defined(__GNUC__)
#define PLANETS_VLT_API __attribute__((visibility("default")))
#else
#define PLANETS_VLT_API
#endif

/* Error codes (returned as doubles by the position functions). */
#define PLANETS_VLT_ERR_YEAR_BEFORE (-99) /* year before the data file's first year */
#define PLANETS_VLT_ERR_YEAR_AFTER (-100) /* year 2800 or later */
#define PLANETS_VLT_ERR_OPEN                                                       \
    (-101)                               /* data file cannot be opened or is not a \
                                            regular file (a folder, a FIFO, a      \
                                            device), or folder plus file name      \
                                            longer than 255 chars */
#define PLANETS_VLT_ERR_SEEK (-102)      /* positioning to the record failed */
#define PLANETS_VLT_ERR_SHORT (-103)     /* the file ends before the record's end */
#define PLANETS_VLT_ERR_NO_FOLDER (-104) /* data folder empty (never set, or "") */
#define PLANETS_VLT_ERR_JD                          \
    (-105) /* jd is NaN or infinite, or so far from \
              the theory's span that the            \
              computation overflows */
#define PLANETS_VLT_ERR_RECORD                                               \
    (-107)                            /* the record read is damaged: a field \
                                         that is not wholly a finite number, \
                                         a header year that is not the       \
                                         block asked for, or a record whose  \
                                         span does not cover jd (see below) */
#define PLANETS_VLT_ERR_PLANET (-999) /* planet number not supported */

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Sets the folder that holds the data files.  File paths are the plain
 * concatenation of this text and the file name, so the folder must end with
 * a path separator ("/"); none is added.  The text is copied; the last call
 * wins.  Nothing is checked or opened.
 *
 * Returns the text's length plus one (a folder of 8 characters returns 9).
 * Returns 0 and leaves the folder unchanged when folder is NULL or longer than
 * 255 characters.  The empty text "" is accepted (returns 1) and empties the
 * folder, so that Jupiter to Neptune return PLANETS_VLT_ERR_NO_FOLDER.
 */
PLANETS_VLT_API int set_datafiles_folder(const char* folder);

/*
 * Apparent geocentric ecliptic longitude of date (true equinox of date,
 * including an aberration/light-time correction and the nutation in
 * longitude) of the Sun (planet 0 or 3), a planet (1, 2, 4 to 8) or the
 * Moon (10).  *rv receives the body's geometric distance from the Earth in
 * AU (the Moon's: its distance at the light-time-corrected instant, which
 * differs from the geometric one by far less than a kilometre).
 *
 * Errors: PLANETS_VLT_ERR_PLANET, PLANETS_VLT_ERR_JD, and for 5 to 8 and 10
 * the data file codes -99 to -104 and -107.
 */
PLANETS_VLT_API double gc_app_long_rv_planet(int planet, double jd, int year, double* rv);

/*
 * Heliocentric ecliptic longitude referred to the equinox of J2000.0 (the
 * longitude of date minus a precession linear in jd), with the heliocentric
 * latitude of date (*lat, radians) and the radius vector (*rv, AU).  Planet 0
 * or 3 is the Earth (latitude 0).
 *
 * Errors as gc_app_long_rv_planet.
 */
PLANETS_VLT_API double hc_j2000_long_lat_rv_planet(int planet, double jd, int year, double* lat,
                                                   double* rv);

/* The same as hc_j2000_long_lat_rv_planet without the latitude. */
PLANETS_VLT_API double hc_j2000_long_rv_planet(int planet, double jd, int year, double* rv);

#ifdef __cplusplus
}
#endif

#endif /* PLANETS_VLT_H */
