// Media commands and the transport controls.
#include "app/MainWindow.h"
#include "playback/MediaEngine.h"

namespace melvo {

std::unique_ptr<MediaEngine> makeMediaEngine() { return nullptr; }

}  // namespace melvo
