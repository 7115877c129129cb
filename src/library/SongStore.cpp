#include "library/SongStore.h"

namespace melvo {

void SongStore::remove(int index) {
    entries_.erase(entries_.begin() + index);
    current_ = -1;
}

std::string_view entryPath(std::string_view entry) { return entry.substr(0, entry.find(',')); }

std::string_view entryVolumeText(std::string_view entry) {
    const size_t comma = entry.find(',');
    return comma == std::string_view::npos ? std::string_view() : entry.substr(comma + 1);
}

bool entryHasVolume(std::string_view entry) { return entry.find(',') != std::string_view::npos; }

}  // namespace melvo
