#include "platform/tesseract/SerialOpenMP.h"

#include <QtGlobal>

#include <dlfcn.h>

namespace SerialOpenMP {

namespace {

using SetMaxActiveLevels = void (*)(int);

// Looked up, not linked: a Tesseract built without OpenMP brings no runtime to set.
SetMaxActiveLevels setMaxActiveLevels() {
    static const auto set =
        reinterpret_cast<SetMaxActiveLevels>(::dlsym(RTLD_DEFAULT, "omp_set_max_active_levels"));
    return set;
}

} // namespace

void onThisThread() {
    if (qEnvironmentVariableIsSet("OMP_THREAD_LIMIT"))
        return;
    // No level of parallel regions may be active: each runs on the thread that meets it.
    if (const SetMaxActiveLevels set = setMaxActiveLevels())
        set(0);
}

} // namespace SerialOpenMP
