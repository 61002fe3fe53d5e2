// Compiled, not run: a simulated-reader export defined against the one list of reader
// functions. With WRONG_SIGNATURE its length parameter is missing, and it must not compile.
#include "ZentravaDeclarations.h"

#ifdef WRONG_SIGNATURE
ZENTRAVA_EXPORT int32_t ZENTRAVA_CALL Zentrava_22(uint16_t, uint8_t, uint8_t *)
{
    return 0;
}
#else
ZENTRAVA_EXPORT int32_t ZENTRAVA_CALL Zentrava_22(uint16_t, uint8_t, uint8_t *, uint8_t *)
{
    return 0;
}
#endif
