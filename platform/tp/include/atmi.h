/* The transaction-monitor client library: ATMI calls.
 *
 * The calls and their results follow the standard ATMI signatures, so a site with a
 * vendor library can link it instead of this one. Every call reports failure with -1
 * (or a null pointer) and leaves the reason in gettperrno()/tpstrerror().
 */
#ifndef MEDREC_TP_ATMI_H
#define MEDREC_TP_ATMI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* tpcall / tpbegin flags */
#define TPNOBLOCK 0x00000001
#define TPSIGRSTRT 0x00000002
#define TPNOREPLY 0x00000004
#define TPNOTRAN 0x00000008
#define TPNOTIME 0x00000010

/* tpinit flags: how unsolicited messages reach the client */
#define TPU_SIG 0x00000001
#define TPU_DIP 0x00000002 /* dip-in: delivered while the client is inside a library call */
#define TPU_IGN 0x00000004

/* error numbers (gettperrno) */
#define TPEBADDESC 2
#define TPEBLOCK 3
#define TPEINVAL 4
#define TPELIMIT 5
#define TPENOENT 6
#define TPEOS 7
#define TPEPERM 8
#define TPEPROTO 9
#define TPESVCERR 10
#define TPESVCFAIL 11
#define TPESYSTEM 12
#define TPETIME 13
#define TPETRAN 14
#define TPGOTSIG 15
#define TPERMERR 16
#define TPEITYPE 17
#define TPEOTYPE 18
#define TPERELEASE 19
#define TPEHAZARD 20
#define TPEHEURISTIC 21
#define TPEEVENT 22
#define TPEMATCH 23
#define TPEDIAGNOSTIC 24
#define TPEMIB 25
#define TPEABORT 26
#define TPENOENV 27
#define TPMAXVAL 28

#define MAXTIDENT 17

/* The "TPINIT" typed record handed to tpinit. */
typedef struct tpstart_t {
    char usrname[MAXTIDENT + 1];
    char cltname[MAXTIDENT + 1];
    char dompwd[MAXTIDENT + 1];
    char usrpwd[MAXTIDENT + 1];
    int32_t flags;
    int32_t datalen;
    int32_t data;
} TPSTART_T;

typedef void Unsolfunc(char *data, long len, long flags);
#define TPUNSOLERR ((Unsolfunc *)-1)

/* Reads the site environment file (syntax: see docs/environment-file.md).
 * label is unused and may be empty. -1 when the file cannot be used. */
int tuxreadenv(char *file, char *label);

/* Typed buffers: "FML" (at most 65,532 bytes), "FML32" (at most 524,256),
 * "STRING" and "TPINIT". Null on failure. */
char *tpalloc(char *type, char *subtype, long size);
char *tprealloc(char *ptr, long size);
void tpfree(char *ptr);
long tptypes(char *ptr, char *type, char *subtype);

int tpinit(TPSTART_T *tpinfo);
int tpterm(void);

/* Calls a service. idata is sent (ilen is ignored for field buffers); the reply replaces
 * *odata. With TPNOTRAN the call runs outside the open transaction, if any. */
int tpcall(char *svc, char *idata, long ilen, char **odata, long *olen, long flags);

/* A transaction left open past its time-out is rolled back by the server and its
 * commit fails. */
int tpbegin(unsigned long timeout, long flags);
int tpcommit(long flags);
int tpabort(long flags);

/* Registers the unsolicited-message handler; returns the previous one or TPUNSOLERR.
 * Messages are delivered dip-in, during tpcall and tpchkunsol. */
Unsolfunc *tpsetunsol(Unsolfunc *disp);
/* Delivers the unsolicited messages that have arrived; returns how many, or -1. */
int tpchkunsol(void);

int gettperrno(void);
long gettpurcode(void);
char *tpstrerror(int err);

#ifdef __cplusplus
}
#endif

#endif
