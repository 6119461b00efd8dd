// The exported entry point; everything else of the library is hidden.
#include "zivirare/ping.h"

#include "../core/constants.h"
#include "../core/run.h"

extern "C" ZIVIRARE_EXPORT int32_t ping(int32_t* pingIn) {
    try {
        return zivirare::run(pingIn);
    } catch (...) {
        return zivirare::kInternalError;
    }
}
