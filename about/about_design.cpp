#include "about/about_design.h"

#include "velmora_version.h"

namespace velmora::about {

LoadedCaptions CaptionsOnLoad() {
    const std::string title = app::title;
    return {"About " + title,
            "Version " + std::to_string(app::versionMajor) + "." +
                std::to_string(app::versionMinor) + "." + std::to_string(app::versionRevision),
            title};
}

}  // namespace velmora::about
