/* calvexa: the calendar-conversion component used by the main program.
 *
 * A small C library with five functions: dates to Julian day numbers and
 * back, the year of a Julian date, the computer's time-zone offset and
 * thousands separation of a number text.  Every function takes values and
 * caller-owned records; nothing is allocated for the caller.
 *
 * Calendar codes are the character codes of one letter:
 *   'G' (71)  proleptic Gregorian calendar, astronomical year numbering
 *             (the year before 1 is 0, the one before that -1);
 *   'J' (74)  proleptic Julian calendar, the same year numbering;
 *   'A' (65)  proleptic Gregorian calendar, astronomical year numbering:
 *             the calendar in which the outer-planet data records are laid
 *             out.  For dates it behaves exactly as 'G'.
 * Any other code is treated as 'G' and a date given with it is never valid.
 */
#ifndef CALVEXA_H
#define CALVEXA_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(CALVEXA_BUILDING)
#define CALVEXA_API __attribute__((visibility("default")))
#else
#define CALVEXA_API
#endif

/* The six-field date record.  Callers zero the whole record before filling
 * it. */
typedef struct calvexa_date {
    int32_t year;     /* astronomical numbering, may be 0 or negative */
    int32_t month;    /* 1..12 */
    int32_t day;      /* day of month */
    int32_t calendar; /* calendar code, 'G', 'J' or 'A' */
    int32_t jdn;      /* Julian day number */
    int32_t valid;    /* non-zero when the date exists */
} calvexa_date;

/* Reads year, month, day and calendar; returns the Julian day number and also
 * stores it in the record's jdn field; sets valid to 1 when the date exists
 * in that calendar (no 31 April, no 29 February in 1900), else 0.  A date
 * whose day number does not fit 32 bits is invalid and answers INT32_MIN or
 * INT32_MAX by the sign of its overflow. */
CALVEXA_API int32_t euro_date_to_jdn(calvexa_date* date);

/* Reads calendar and jdn; fills year, month and day, and sets valid to 1. */
CALVEXA_API void jdn_to_euro_date(calvexa_date* date);

/* The calendar date of the civil day Int(jd + 0.5) in the calendar named by
 * the first character of calendar ("A", "G" or "J"; anything else or NULL
 * reads as "A"): out1 the year, out2 the month, out3 the day, out4 the day of
 * the week (0 Sunday .. 6 Saturday).  Null out pointers are skipped.  A
 * non-finite jd or one beyond about +-7.8e11 days is clamped to that range. */
CALVEXA_API void juldat(double jd, const char* calendar, int32_t* out1, int32_t* out2,
                        int32_t* out3, int32_t* out4);

/* The computer's current local offset from Greenwich in seconds, positive west
 * of Greenwich (18000 for GMT-5:00), daylight saving time included. */
CALVEXA_API int32_t get_timezone(void);

/* Writes the decimal integer text digits (an optional leading '-', then
 * digits) into out with the character separator between groups of three
 * digits, zero-terminated.  out must hold 21 bytes; nothing is written past
 * them: a result longer than 20 characters keeps its first 20 (19 when the
 * 20th would be a separator).  Characters
 * after the first non-digit are ignored; a NULL digits writes an empty text. */
CALVEXA_API void separate_thousands(const char* digits, int32_t separator, char* out);

#ifdef __cplusplus
}
#endif

#endif /* CALVEXA_H */
