#include "app/rules/form_publication.h"

#include "app/rules/waterfall_shift.h"

namespace app {

FormPublication formPublication(const hf::Settings& read, uint32_t formCentre,
                                uint32_t publishedCentre, const CentreView& view,
                                const hf::Device& dongle, int32_t waterfallColumns) {
    FormPublication p;
    p.settings = read;
    p.settings.center = chooseCentre(read, formCentre, view, dongle);
    p.outOfSpan = outOfSpan(p.settings);
    if (p.settings.center != publishedCentre)
        p.waterfallShift =
            waterfallShift(publishedCentre, p.settings.center, waterfallColumns, view.spectrumSpan);
    return p;
}

}  // namespace app
