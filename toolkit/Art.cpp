#include "toolkit/Art.h"

#include <string>

#include "toolkit/Controls.h"
#include "toolkit/Gdi.h"

namespace ostrel::tk {

UINT ArtDpi(UINT dpi) {
  for (UINT drawn : {192u, 144u, 120u})
    if (dpi >= drawn) return drawn;
  return kBaseDpi;
}

namespace {

// The drawing for `dpi` or, where that one is missing, the next smaller that is there.
template <typename Load>
auto LoadDrawn(const char* name, int baseSize, UINT dpi, Load load) -> decltype(load("", 0)) {
  for (UINT drawn = ArtDpi(dpi);; drawn = ArtDpi(drawn - 1)) {
    const int size = Scale(baseSize, drawn);
    const std::string resource =
        drawn == kBaseDpi ? std::string(name) : std::string(name) + "_" + std::to_string(size);
    if (auto loaded = load(resource.c_str(), size); loaded || drawn == kBaseDpi) return loaded;
  }
}

// A bitmap resource of the program's own as a section of its own, or, where it is
// run-length encoded (which a section cannot hold), as a bitmap of the screen's. The
// pictures are linked into the executable, so its module is where they are found.
HBITMAP LoadBitmapResource(const char* resource) {
  HINSTANCE inst = GetModuleHandleA(nullptr);
  if (auto section =
          static_cast<HBITMAP>(LoadImageA(inst, resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)))
    return section;
  return static_cast<HBITMAP>(LoadImageA(inst, resource, IMAGE_BITMAP, 0, 0, 0));
}

}  // namespace

HBITMAP LoadArt(const char* name, int baseSize, UINT dpi) {
  return LoadDrawn(name, baseSize, dpi,
                   [](const char* resource, int) { return LoadBitmapResource(resource); });
}

// The strip is loaded and copied into a 24-bit list: an image list loaded straight from a
// strip with a colour table does not keep its colours.
HIMAGELIST LoadArtList(const char* name, int baseSize, UINT dpi, int grow, COLORREF mask) {
  return LoadDrawn(name, baseSize, dpi, [&](const char* resource, int size) -> HIMAGELIST {
    const GdiObject<HBITMAP> strip(LoadBitmapResource(resource));
    BITMAP info{};
    if (!strip.get() || !GetObjectA(strip.get(), sizeof info, &info)) return nullptr;
    ImageListOwner list(
        ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, info.bmWidth / size, grow));
    if (!list || ImageList_AddMasked(list.get(), strip.get(), mask) < 0) return nullptr;
    return list.Release();
  });
}

}  // namespace ostrel::tk
