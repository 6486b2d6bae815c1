// The images, cursors and sound that the windows take by resource number: every one is carried
// inside the module, loads through the toolkit at the size the windows lay out for, and plays.
#include "ui/resources.h"
#include "gui_support/gui_test_support.h"

#include <gtest/gtest.h>
#include <wx/animate.h>
#include <wx/frame.h>
#include <wx/imaglist.h>
#include <wx/listctrl.h>
#include <wx/mstream.h>
#include <wx/sizer.h>
#include <wx/sound.h>
#include <wx/statbmp.h>

#include <set>
#include <string>
#include <vector>

namespace tarnwick::ui {
namespace {

struct Icon {
  int number;
  int size;
};

// Feed list images 0..7, then the Feed Properties status icons in the order of their options.
const std::vector<int> kFeedListIcons = {123, 120, 168, 167, 179, 180, 181, 182};
const std::vector<int> kFeedStatusIcons = {129, 190, 189, 191, 128, 187, 186, 188};

std::vector<Icon> EveryIcon() {
  std::vector<Icon> icons;
  for (int number : kFeedListIcons) icons.push_back({number, 16});
  for (int number : kFeedStatusIcons) icons.push_back({number, 32});
  for (int number : {1015, 1018, 131, 192, 193, 194, 195, 132}) icons.push_back({number, 16});
  for (int number : {185, 1002, 105, 107, 109, 117, 1010, 1000}) icons.push_back({number, 32});
  icons.push_back({214, 48});
  return icons;
}

wxImage LoadPng(const std::string& name) {
  const std::string_view bytes = ResourceBytes(name);
  wxMemoryInputStream stream(bytes.data(), bytes.size());
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  return wxImage(stream, wxBITMAP_TYPE_PNG);
}

std::string Pixels(int number) {
  const wxImage image = ResourceBitmap(number).ConvertToImage();
  const auto* rgb = reinterpret_cast<const char*>(image.GetData());
  const auto* alpha = reinterpret_cast<const char*>(image.GetAlpha());
  const size_t count = static_cast<size_t>(image.GetWidth()) * image.GetHeight();
  return std::string(rgb, count * 3) + (alpha != nullptr ? std::string(alpha, count) : std::string());
}

TEST(Resources, EveryIconOfTheWindowsLoadsAtItsSizeWithTransparency) {
  for (const Icon& icon : EveryIcon()) {
    SCOPED_TRACE("icon " + std::to_string(icon.number));
    const wxBitmap bitmap = ResourceBitmap(icon.number);
    ASSERT_TRUE(bitmap.IsOk());
    EXPECT_EQ(bitmap.GetSize(), wxSize(icon.size, icon.size));
    EXPECT_TRUE(bitmap.ConvertToImage().HasAlpha());
    EXPECT_TRUE(ResourceIcon(icon.number).IsOk());
  }
}

TEST(Resources, EachFeedOptionCombinationHasAnIconOfItsOwn) {
  for (const std::vector<int>* icons : {&kFeedListIcons, &kFeedStatusIcons}) {
    std::set<std::string> distinct;
    for (int number : *icons) distinct.insert(Pixels(number));
    EXPECT_EQ(distinct.size(), icons->size());
  }
}

TEST(Resources, TheFeedAndNewsboxIconsFillTheListsImageLists) {
  wxFrame frame(nullptr, wxID_ANY, "Resources", wxPoint(40, 40), wxSize(600, 420));
  auto* list = new wxListCtrl(&frame, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_NO_HEADER);
  auto* images = new wxImageList(16, 16, true, 10);
  for (size_t i = 0; i < kFeedListIcons.size(); ++i) {
    EXPECT_EQ(images->Add(ResourceBitmap(kFeedListIcons[i])), static_cast<int>(i));
  }
  for (int number : {1015, 1018, 131}) EXPECT_GE(images->Add(ResourceBitmap(number)), 0);
  list->AssignImageList(images, wxIMAGE_LIST_SMALL);
  list->InsertColumn(0, "Feeds", wxLIST_FORMAT_LEFT, 240);
  const char* names[] = {"none",         "full articles",    "only new",  "full, only new", "checks",
                         "full, checks", "only new, checks", "all three", "empty newsbox",  "all read",
                         "unread"};
  for (int i = 0; i < images->GetImageCount(); ++i) list->InsertItem(i, names[i], i);

  auto* icons = new wxBoxSizer(wxHORIZONTAL);
  std::vector<int> shown = kFeedStatusIcons;
  shown.insert(shown.end(), {105, 107, 109, 117, 1010, 185, 1000, 214});
  for (int number : shown) icons->Add(new wxStaticBitmap(&frame, wxID_ANY, ResourceBitmap(number)), 0, wxRIGHT, 3);
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(list, 1, wxEXPAND);
  column->Add(icons, 0, wxALL, 4);
  frame.SetSizer(column);
  frame.Layout();
  frame.Show();
  test::RunEventsFor(std::chrono::milliseconds(300));
  EXPECT_EQ(list->GetItemCount(), 11);
  EXPECT_FALSE(test::SaveScreenshot(&frame, "resources").empty());
}

TEST(Resources, TheStatusAnimationsHaveSeveralFramesAndPlay) {
  if (!wxImage::FindHandler(wxBITMAP_TYPE_GIF)) wxImage::AddHandler(new wxGIFHandler);
  wxFrame frame(nullptr, wxID_ANY, "Animations", wxPoint(40, 40), wxSize(200, 100));
  for (int number : {287, 234}) {
    SCOPED_TRACE("animation " + std::to_string(number));
    const wxAnimation animation = ResourceAnimation(number);
    ASSERT_TRUE(animation.IsOk());
    EXPECT_EQ(animation.GetSize(), wxSize(32, 32));
    const std::string_view bytes = ResourceBytes("animations/" + std::to_string(number) + ".gif");
    wxMemoryInputStream stream(bytes.data(), bytes.size());
    EXPECT_GT(wxImage::GetImageCount(stream, wxBITMAP_TYPE_GIF), 1);

    auto* control = new wxAnimationCtrl(&frame, wxID_ANY, animation);
    frame.Show();
    EXPECT_TRUE(control->Play());
    test::RunEventsFor(std::chrono::milliseconds(200));
    EXPECT_TRUE(control->IsPlaying());
    control->Stop();
  }
}

TEST(Resources, TheCursorsHaveTheirHotSpotOnTheArrowsTip) {
  for (int number : {301, 248, 302}) {
    SCOPED_TRACE("cursor " + std::to_string(number));
    EXPECT_TRUE(ResourceCursor(number).IsOk());
    const wxImage image = LoadPng("cursors/" + std::to_string(number) + ".png");
    ASSERT_TRUE(image.IsOk());
    ASSERT_TRUE(image.HasAlpha());
    // the module takes a cursor's hot spot at the image's centre: the tip is there, nothing above it
    const int centre = image.GetWidth() / 2;
    EXPECT_GT(image.GetAlpha(centre, centre), 128);
    EXPECT_LT(image.GetAlpha(centre, centre - 2), 64);
    EXPECT_LT(image.GetAlpha(centre - 2, centre), 64);
  }
}

TEST(Resources, TheChimeIsASoundTheToolkitReads) {
  const std::string_view bytes = ResourceBytes("sounds/113.wav");
  ASSERT_FALSE(bytes.empty());
  wxSound sound;
  EXPECT_TRUE(sound.Create(bytes.size(), bytes.data()));
}

TEST(Resources, AnUnknownNumberGivesNoImageTheArrowAndNoSound) {
  EXPECT_FALSE(ResourceBitmap(4242).IsOk());
  EXPECT_FALSE(ResourceAnimation(4242).IsOk());
  EXPECT_TRUE(ResourceCursor(4242).IsOk());
  EXPECT_FALSE(PlayResourceSound(4242));
}

}  // namespace
}  // namespace tarnwick::ui
