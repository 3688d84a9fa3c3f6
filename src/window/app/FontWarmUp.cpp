#include "app/FontWarmUp.h"

#ifdef MOSAIKON_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace mosaikon {

FontWarmUp::FontWarmUp() {
#ifdef MOSAIKON_HAVE_FONTCONFIG
    // Font configuration is safe to load from any thread; Qt finds it loaded when it asks.
    m_thread = std::thread([] {
        if (FcInit() == FcTrue) {
            FcConfigGetFonts(FcConfigGetCurrent(), FcSetSystem);
        }
    });
#endif
}

FontWarmUp::~FontWarmUp() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

}  // namespace mosaikon
