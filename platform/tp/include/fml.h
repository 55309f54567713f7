/* The field-buffer calls. One API serves both flavours: a buffer allocated as "FML"
 * holds at most 65,532 bytes, one allocated as "FML32" at most 524,256; a change that
 * would not fit fails with FNOSPACE and leaves the buffer as it was.
 *
 * Field identifiers carry their type (FB_*); names come from the field table named in
 * the site environment file.
 */
#ifndef MEDREC_TP_FML_H
#define MEDREC_TP_FML_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct Fbfr FBFR;
typedef uint32_t FLDID;
typedef int FLDOCC;
typedef uint32_t FLDLEN;

#define BADFLDID ((FLDID)0)

/* field types (Fldtype) */
#define FB_CHAR 1
#define FB_SHORT 2
#define FB_INT 3
#define FB_LONG 4
#define FB_FLOAT 5
#define FB_DOUBLE 6
#define FB_STRING 7
#define FB_CARRAY 8

/* field error numbers (getFerror) */
#define FMINVAL 0
#define FALIGNERR 1
#define FNOTFLD 2
#define FNOSPACE 3
#define FNOTPRES 4
#define FBADFLD 5
#define FTYPERR 6
#define FEUNIX 7
#define FBADNAME 8
#define FMALLOC 9
#define FBADVIEW 10
#define FVFSYNTAX 11
#define FVFOPEN 12
#define FBADACM 13
#define FNOCNAME 14
#define FEBADOP 15
#define FEINVAL 16 /* an argument is invalid (null buffer, negative occurrence, ...) */
#define FMAXVAL 17

long Fsizeof(FBFR *fbfr);
int Finit(FBFR *fbfr, FLDLEN buflen);
long Fused(FBFR *fbfr);

FLDID Fldid(char *name);
char *Fname(FLDID fieldid);
int Fldtype(FLDID fieldid);

/* Sets occurrence oc (missing lower occurrences are added empty). For text types len
 * is the byte count (0: up to the terminating zero); for numeric types it is ignored
 * and value points to the C type (short, int32_t for long fields, float, double). */
int Fchg(FBFR *fbfr, FLDID fieldid, FLDOCC oc, char *value, FLDLEN len);
int Fadd(FBFR *fbfr, FLDID fieldid, char *value, FLDLEN len);
int Fdel(FBFR *fbfr, FLDID fieldid, FLDOCC oc);
FLDOCC Foccur(FBFR *fbfr, FLDID fieldid);
int Fpres(FBFR *fbfr, FLDID fieldid, FLDOCC oc);

/* Conversions: the occurrence as text (a static area, valid until the next call) or as
 * a long. A missing occurrence gives "" or 0 with Ferror FNOTPRES. */
char *Fvals(FBFR *fbfr, FLDID fieldid, FLDOCC oc);
long Fvall(FBFR *fbfr, FLDID fieldid, FLDOCC oc);

/* Copies the occurrence in its own type into buf; *len is the room on entry and the
 * length on return (may be null: no room check). */
int Fget(FBFR *fbfr, FLDID fieldid, FLDOCC oc, char *buf, FLDLEN *len);

/* Sequential getter: the next occurrence of fieldid after *position (start with 0),
 * copied into value (room *len on entry, length on return); advances *position.
 * -1 with FNOTPRES when no occurrence follows; -1 with FNOSPACE when the value does not
 * fit, the cursor then staying where it was. */
int fbgetf(FBFR *fbfr, FLDID fieldid, char *value, FLDLEN *len, int *position);

int getFerror(void);
char *Fstrerror(int err);

#ifdef __cplusplus
}
#endif

#endif
