/* Loaded with LD_PRELOAD: iconv_open fails as it does on a system without the CP949
 * converter, so the programs' start-up check can be seen refusing to run. */
#include <errno.h>
#include <iconv.h>

iconv_t iconv_open(const char *tocode, const char *fromcode)
{
    (void)tocode;
    (void)fromcode;
    errno = EINVAL;
    return (iconv_t)-1;
}
