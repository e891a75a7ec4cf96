// The names photos are saved under. Names taken from photo addresses come from the site
// and are not trusted: they are made into plain file names inside the save folder.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "app/album_plan.h"

namespace lumadex {

inline constexpr std::size_t kMaxPhotoNameLength = 200;

// The text after the last "/" (all of it when there is none), query included.
std::wstring getFileName(std::wstring_view filePath);

enum class NamingScheme { OwnName, Ascending, Descending };

// The photo's name before SafeFileName. Ascending and Descending number the photos
// (1.jpg for the first saved, or counting down from the album's total), which only makes
// sense for a whole album; the other modes keep the site's own name.
std::wstring PhotoFileName(DownloadMode mode, NamingScheme scheme, std::wstring_view address,
                           int donePhotos, int totalPhotos);

// A name Windows stores as given, in the folder and nowhere else: forbidden characters
// and control characters become "_", as do trailing dots and spaces (Windows drops them,
// which could make two photos one file or name the folder itself); device names
// (con, con.jpg, COM1...) get a "_" in front; an empty name becomes "_"; names longer
// than kMaxPhotoNameLength are shortened, keeping a short extension. Applying it twice
// changes nothing more.
std::wstring SafeFileName(std::wstring_view name);

// saveFolder + "\" + safeName, with the folder kept as typed. Nullopt when the folder is
// empty or safeName is not already what SafeFileName makes of it, so that nothing can be
// written outside the folder even if a caller forgets to sanitise.
std::optional<std::wstring> PhotoPath(std::wstring_view saveFolder, std::wstring_view safeName);

}  // namespace lumadex
