#include "reader/ReaderFunctions.h"

#define READER_ENTRY(ordinal, params) \
    extern "C" __attribute__((visibility("default"))) int32_t ZENTRAVA_CALL Zentrava_##ordinal params { return 1; }
#define READER_NO_ENTRY(ordinal, params)

#if defined(READER_VARIANT_RequiredOnly)
// Every required ordinal, called or not; none of the optional ones.
#define CALLED_Required(ordinal, params) READER_ENTRY(ordinal, params)
#define CALLED_Optional(ordinal, params) READER_NO_ENTRY(ordinal, params)
#define UNCALLED_Required(ordinal) READER_ENTRY(ordinal, (void))
#define UNCALLED_Optional(ordinal) READER_NO_ENTRY(ordinal, (void))
#elif defined(READER_VARIANT_CalledOnly)
// Every function the program calls, optional ones included; none of the ordinals it binds but
// never calls, although most of those are required.
#define CALLED_Required(ordinal, params) READER_ENTRY(ordinal, params)
#define CALLED_Optional(ordinal, params) READER_ENTRY(ordinal, params)
#define UNCALLED_Required(ordinal) READER_NO_ENTRY(ordinal, (void))
#define UNCALLED_Optional(ordinal) READER_NO_ENTRY(ordinal, (void))
#endif

#define CALLED(ordinal, name, presence, params, args, buffers) CALLED_##presence(ordinal, params)
#define UNCALLED(ordinal, presence) UNCALLED_##presence(ordinal)

ZENTRAVA_READER_FUNCTIONS(CALLED, UNCALLED)
