#include "ui/resources.h"

#include "ui/resource_data.h"

#include <wx/image.h>
#include <wx/mstream.h>
#include <wx/sound.h>

#include <map>
#include <memory>
#include <string>

namespace tarnwick::ui {
namespace {

wxImage ResourceImage(const std::string& name) {
  const std::string_view bytes = ResourceBytes(name);
  if (bytes.empty()) return {};
  wxMemoryInputStream stream(bytes.data(), bytes.size());
  wxImage image;
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  image.LoadFile(stream, wxBITMAP_TYPE_PNG);
  return image;
}

}  // namespace

std::string_view ResourceBytes(std::string_view name) {
  for (const ResourceFile* file = EmbeddedResourceFiles(); file->name != nullptr; ++file) {
    if (name == file->name) return {reinterpret_cast<const char*>(file->data), file->size};
  }
  return {};
}

wxBitmap ResourceBitmap(int number) {
  const wxImage image = ResourceImage("icons/" + std::to_string(number) + ".png");
  return image.IsOk() ? wxBitmap(image) : wxBitmap();
}

wxIcon ResourceIcon(int number) {
  wxIcon icon;
  const wxBitmap bitmap = ResourceBitmap(number);
  if (bitmap.IsOk()) icon.CopyFromBitmap(bitmap);
  return icon;
}

wxAnimation ResourceAnimation(int number) {
  const std::string_view bytes = ResourceBytes("animations/" + std::to_string(number) + ".gif");
  wxAnimation animation;
  if (bytes.empty()) return animation;
  wxMemoryInputStream stream(bytes.data(), bytes.size());
  animation.Load(stream, wxANIMATION_TYPE_GIF);
  return animation;
}

wxCursor ResourceCursor(int number) {
  wxImage image = ResourceImage("cursors/" + std::to_string(number) + ".png");
  if (!image.IsOk()) return wxCursor(wxCURSOR_ARROW);
  image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, image.GetWidth() / 2);
  image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, image.GetHeight() / 2);
  return wxCursor(image);
}

bool PlayResourceSound(int number) {
  // A sound plays on after this returns, from its loaded data: loaded sounds stay for good.
  static std::map<int, std::unique_ptr<wxSound>> loaded;
  std::unique_ptr<wxSound>& sound = loaded[number];
  if (!sound) {
    const std::string_view bytes = ResourceBytes("sounds/" + std::to_string(number) + ".wav");
    auto candidate = std::make_unique<wxSound>();
    if (bytes.empty() || !candidate->Create(bytes.size(), bytes.data())) {
      loaded.erase(number);
      return false;
    }
    sound = std::move(candidate);
  }
  return sound->Play(wxSOUND_ASYNC);
}

}  // namespace tarnwick::ui
